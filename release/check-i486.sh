#!/usr/bin/env bash
# Fails when a program or object file holds an instruction that the i486 does not have:
# Windows 95 and NT 4 run on the 486 and the first Pentiums, where such an instruction
# ends the program with an illegal-operation fault.
#   check-i486.sh OBJDUMP FILE...
set -u
objdump=$1
shift
status=0

# Pentium: cpuid, rdtsc, model registers, cmpxchg8b. Pentium Pro: cmov, fcmov, fcomi,
# rdpmc, sysenter, ud2 and the long nops. MMX, 3DNow!, SSE and every later extension,
# also by their registers.
later='cpuid|rdtscp?|rdmsr|wrmsr|rsm|cmpxchg(8|16)b|cmov[a-z]*|fcmov[a-z]*|fu?comip?|rdpmc|sys(enter|exit|call|ret)'
later+='|ud[012]|nop[lwq]|emms|femms|fxsave|fxrstor|[ls]dmxcsr|[slm]fence|prefetch[a-z0-9]*|movnti|clflush[a-z]*'
later+='|fisttp[a-z]*|popcnt|lzcnt|tzcnt|movbe|crc32|xgetbv|rdrand|rdseed|andn|bextr|blsi|blsmsk|blsr|bzhi|mulx'
later+='|pdep|pext|rorx|sarx|shlx|shrx|adcx|adox'

for file in "$@"; do
  if ! code=$("$objdump" -d --no-show-raw-insn "$file" 2>&1); then
    echo "$file: objdump failed: $code"
    status=1
    continue
  fi
  # "ADDRESS:<tab>[prefixes] MNEMONIC OPERANDS": the instructions the i486 lacks, then
  # how many instructions there are in all.
  result=$(awk -v later="^($later)\$" '
    /^ *[0-9a-f]+:\t/ {
      split($0, part, "\t"); n = split(part[2], word, " "); i = 1
      while (i < n && word[i] ~ /^(rep[a-z]*|lock|data16|addr16|[c-gs]s|notrack|bnd)$/) i++
      if (word[i] ~ later || part[2] ~ /%[xyz]?mm[0-9]/) print
      count++
    }
    END { print count + 0 }' <<<"$code")
  count=$(tail -n 1 <<<"$result")
  found=$(sed '$d' <<<"$result")
  if [ -n "$found" ]; then
    echo "$file: the i486 does not have $(wc -l <<<"$found") of its instructions, for instance:"
    head -5 <<<"$found"
    status=1
  elif [ "$count" -eq 0 ]; then
    echo "$file: no code found"
    status=1
  else
    echo "$file: $count instructions, all of them the i486's"
  fi
done
exit $status
