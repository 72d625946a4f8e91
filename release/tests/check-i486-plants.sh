#!/usr/bin/env bash
# Checks the i486 check: one object per instruction it must catch, each assembled from its
# bytes, must fail it and be named in what it says; an object of the i486's own
# instructions, with ld's constructor lists behind them, must pass.
#   check-i486-plants.sh CHECK AS OBJDUMP WORKDIR
set -u
check=$1 as=$2 objdump=$3 work=$4
mkdir -p "$work"
status=0

# name|bytes|what the check must say
plants=(
  "hint nop (register form)|0x0f,0x1f,0xc0|nop +%eax"
  "hint nop 0f 19|0x0f,0x19,0xc0|nop +%eax"
  "hint nop 0f 1e|0x0f,0x1e,0xc0|nop +%eax"
  "long nop|0x0f,0x1f,0x40,0x00|nopl"
  "endbr32|0xf3,0x0f,0x1e,0xfb|endbr32"
  "cmov|0x0f,0x44,0xc1|cmove"
  "a byte that is no instruction|0xff,0xff|\\(bad\\)"
  "xsave|0x0f,0xae,0x20|xsave"
  "monitor|0x0f,0x01,0xc8|monitor"
  "mwait|0x0f,0x01,0xc9|mwait"
  "rdpid|0xf3,0x0f,0xc7,0xf8|rdpid"
  "cpuid|0x0f,0xa2|cpuid"
  "rdtsc|0x0f,0x31|rdtsc"
  "fcomi|0xdb,0xf1|fcomi"
  "an SSE register|0x66,0x0f,0xef,0xc0|pxor"
  "pause|0xf3,0x90|pause"
)
n=0
for plant in "${plants[@]}"; do
  IFS='|' read -r name bytes says <<<"$plant"
  n=$((n + 1))
  source=$work/plant$n.s object=$work/plant$n.o
  printf '\t.text\n\tpush %%ebp\n\t.byte %s\n\tpop %%ebp\n\tret\n' "$bytes" >"$source"
  if ! "$as" --32 -o "$object" "$source"; then
    echo "FAIL $name: cannot assemble"
    status=1
    continue
  fi
  output=$("$check" "$objdump" "$object" 2>&1)
  if [ $? -eq 0 ]; then
    echo "FAIL $name: passed the check"
    echo "$output"
    status=1
  elif ! grep -Eq "$says" <<<"$output"; then
    echo "FAIL $name: the check does not say \"$says\""
    echo "$output"
    status=1
  else
    echo "caught: $name"
  fi
done

# The i486's own instructions pass, and so do the constructor lists ld puts behind them.
printf '\t.text\n\tpush %%ebp\n\tmov %%esp,%%ebp\n\tbswap %%eax\n\tcmpxchg %%ecx,(%%edx)\n\txadd %%eax,%%ebx\n\tfldl (%%eax)\n\tfucompp\n\tfnstsw %%ax\n\tnop\n\tleave\n\tret\n\t.long -1, 0, -1, 0\n' >"$work/i486.s"
"$as" --32 -o "$work/i486.o" "$work/i486.s" || status=1
# And the same code without the lists.
printf '\t.text\n\tpush %%ebp\n\tmov %%esp,%%ebp\n\tbswap %%eax\n\tcmpxchg %%ecx,(%%edx)\n\txadd %%eax,%%ebx\n\tfldl (%%eax)\n\tfucompp\n\tfnstsw %%ax\n\tnop\n\tleave\n\tret\n' >"$work/i486-code.s"
"$as" --32 -o "$work/i486-code.o" "$work/i486-code.s" || status=1
if output=$("$check" "$objdump" "$work/i486-code.o" "$work/i486.o" 2>&1); then
  echo "passed: the i486's own instructions and the constructor lists"
else
  echo "FAIL: the i486's own instructions do not pass"
  echo "$output"
  status=1
fi
exit $status
