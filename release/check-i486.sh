#!/usr/bin/env bash
# Fails when a program or object file holds an instruction that the i486 does not have:
# Windows 95 and NT 4 run on the 486 and the first Pentiums, where such an instruction
# ends the program with an illegal-operation fault. Every instruction must be one the
# i486 has: a list of those the i486 lacks would miss whatever a later compiler or
# processor brings (hint nops, endbr32, xsave, ...).
#   check-i486.sh OBJDUMP FILE...
set -u
objdump=$1
shift
status=0

# The i486's instructions as objdump spells them (AT&T, with an optional b/w/l size
# suffix): the 386's integer and system instructions, the 486's bswap, cmpxchg, xadd,
# invd, invlpg and wbinvd, and the 387's floating point.
i486='aaa|aad|aam|aas|adc|add|and|arpl|bound|bsf|bsr|bswap|bt|btc|btr|bts|call|lcall|cbtw|cwtl|cwtd|cltd'
i486+='|clc|cld|cli|clts|cmc|cmp|cmps|cmpxchg|daa|das|dec|div|enter|hlt|idiv|imul|in|inc|ins|int|int3|into'
i486+='|invd|invlpg|iret|j(n?(a|ae|b|be|c|e|g|ge|l|le|o|p|s|z)|pe|po|cxz|ecxz)|jmp|ljmp|lahf|lar|lds|lea|leave'
i486+='|les|lfs|lgdt|lgs|lidt|lldt|lmsw|lods|loop|loopn?[ez]|lsl|lss|ltr|mov|movs|movs(bw|bl|wl)|movz(bw|bl|wl)'
i486+='|mul|neg|nop|not|or|out|outs|pop|popa|popf|push|pusha|pushf|rcl|rcr|rol|ror|ret|lret|sahf|sal|sar|sbb'
i486+='|scas|set(n?(a|ae|b|be|c|e|g|ge|l|le|o|p|s|z)|pe|po)|sgdt|shl|shld|shr|shrd|sidt|sldt|smsw|stc|std|sti'
i486+='|stos|str|sub|test|verr|verw|wait|wbinvd|xadd|xchg|xlat|xor'
# The 387: loads, stores and arithmetic with their operand sizes (s, l, t, ll), compares
# without fcomi, and the control instructions.
x87='f(i?(ld|st|stp|add|sub|subr|mul|div|divr|com|comp)|addp|subp|subrp|mulp|divp|divrp|compp|ucom|ucomp|ucompp'
x87+='|bld|bstp|xch|chs|abs|tst|xam|ld1|ldz|ldpi|ldl2e|ldl2t|ldlg2|ldln2|2xm1|yl2x|yl2xp1|ptan|patan|xtract'
x87+='|prem|prem1|decstp|incstp|sqrt|scale|rndint|sin|cos|sincos|n?stsw|n?stcw|ldcw|n?clex|n?init|nop|wait'
x87+='|n?stenv|ldenv|n?save|rstor|free)'

for file in "$@"; do
  if ! headers=$("$objdump" -h "$file" 2>&1); then
    echo "$file: objdump failed: $headers"
    status=1
    continue
  fi
  # ld ends a program's .text with its lists of global constructors and destructors:
  # empty ones (check-no-constructors.sh) are the data -1, 0, -1, 0, not code.
  stop=()
  text=$(awk '$2 == ".text" {print $3, $4}' <<<"$headers")
  if [ -n "$text" ]; then
    read -r size address <<<"$text"
    end=$((0x$address + 0x$size))
    tail=$("$objdump" -s -j .text --start-address=$((end - 16)) "$file" 2>/dev/null |
      awk '/^ [0-9a-f]+ / {for (i = 2; i <= 5; i++) printf "%s", $i}')
    [ "$tail" != ffffffff00000000ffffffff00000000 ] || stop=(--stop-address=$((end - 16)))
  fi
  if ! code=$("$objdump" -d --no-show-raw-insn "${stop[@]}" "$file" 2>&1); then
    echo "$file: objdump failed: $code"
    status=1
    continue
  fi
  # "ADDRESS:<tab>[prefixes] MNEMONIC OPERANDS": the instructions that are not the i486's
  # (among them "(bad)", bytes that are no instruction), then how many there are in all.
  # A nop with operands is one of the hint nops of later processors.
  result=$(awk -v i486="^(($i486)[bwl]?|$x87(s|l|t|ll)?)\$" '
    /^ *[0-9a-f]+:\t/ {
      split($0, part, "\t"); n = split(part[2], word, " "); i = 1
      while (i < n && word[i] ~ /^(rep[a-z]*|lock|data16|addr16|[c-gs]s|notrack|bnd)$/) i++
      if (word[i] !~ i486 || (word[i] ~ /^nop/ && i < n) || part[2] ~ /%([xyz]?mm|k)[0-9]/) print
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
