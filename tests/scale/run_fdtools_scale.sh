#!/usr/bin/env bash
# Inputs that once hung fdtools or made it abort, each run once: every run
# must end within its limit (LIMIT seconds, 2 by default, or the few
# seconds written beside the runs that still take longer), peak under
# 300 MB but where noted, exit 0, 1 or 2 (never a crash), and, where a
# search has to stop, say which limit stopped it.
#
# usage: run_fdtools_scale.sh BUILD_DIR [LIMIT]
set -euo pipefail

build=$(realpath "$1")
limit=${2:-2}
limit_kb=$((300 * 1024))
gen=$build/tests/support/gen_input
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

"$gen" 1000 2000 100 >g1.txt
"$gen" 5000 10000 500 >g5.txt
"$gen" 1000 2000 100 1 100 >chains.txt
"$gen" 20000 40000 2000 >g20.txt
# Pairs Xi <-> Yi: 2^100 keys.
awk 'BEGIN { print ""; for (i = 0; i < 100; i++) printf "X%d->Y%d\nY%d->X%d\n", i, i, i, i }' >pairs.txt
# The same with three tables of all 200 attributes.
awk 'BEGIN { for (t = 0; t < 3; t++) { s = ""; for (i = 0; i < 100; i++) s = s "X" i ",Y" i ","; print substr(s, 1, length(s) - 1) }
             print ""; for (i = 0; i < 100; i++) printf "X%d->Y%d\nY%d->X%d\n", i, i, i, i }' >wide.txt
# One dependency with 300 and with 1,000 names a side; a 30,000-name left side.
wide_dependency() {
  awk -v n="$1" -v m="$2" 'BEGIN { print ""; s = ""; for (i = 0; i < n; i++) s = s (i ? "," : "") "x" i
                                   r = ""; for (i = 0; i < m; i++) r = r (i ? "," : "") "y" i; print s "->" r }'
}
wide_dependency 300 300 >fd300.txt
wide_dependency 1000 1000 >fd1000.txt
wide_dependency 30000 1 >left30000.txt
# Tables K,Ti sharing only K.
star() {
  awk -v n="$1" 'BEGIN { for (i = 0; i < n; i++) print "K,T" i; print ""; print "K->T1" }'
}
star 10000 >star.txt
star 100000 >star100k.txt
# One table of a chain ci -> ci+1.
chain() {
  awk -v n="$1" 'BEGIN { s = ""; for (i = 0; i < n; i++) s = s (i ? "," : "") "c" i; print s; print ""
                         for (i = 0; i + 1 < n; i++) printf "c%d->c%d\n", i, i + 1 }'
}
chain 10000 >chain.txt
chain 30000 >chain30k.txt
# Every 8 of 16 attributes determine Y, and Y all of them.
awk 'BEGIN { s = ""; for (i = 0; i < 16; i++) s = s (i ? "," : "") "X" i; print s; print "Y,X0"; print ""
             for (m = 0; m < 65536; m++) { c = 0; for (b = m; b; b = int(b / 2)) c += b % 2
               if (c != 8) continue; l = ""; for (i = 0; i < 16; i++) if (int(m / 2 ^ i) % 2) l = l (l == "" ? "" : ",") "X" i
               print l "->Y" }
             print "Y->" s }' >subsets.txt
# A table whose projection is exponential (each choice of Ai or Bi per i
# determines D): decided from evidence, its cover not listed.
awk -v n=22 'BEGIN { a = ""; b = ""; c = ""; for (i = 0; i < n; i++) { a = a (i ? "," : "") "A" i; b = b ",B" i; c = c (i ? "," : "") "C" i }
                     print a b ",D"; print ""; for (i = 0; i < n; i++) printf "A%d->C%d\nB%d->C%d\n", i, i, i, i; print c "->D" }' >exponential.txt
# Tables of about 40 attributes, all on left sides.
"$gen" 400 1000 10 >wide_tables.txt

failed=0
printf '%-44s %6s %8s %8s %s\n' run status seconds peak_kb said
# run [-t SECONDS] [-m MB] INPUT EXPECTED_TEXT ARG...
run() {
  local seconds_limit=$limit memory_limit=$limit_kb
  while [ "${1:0:1}" = - ]; do
    case $1 in
      -t) seconds_limit=$2 ;;
      -m) memory_limit=$(($2 * 1024)) ;;
    esac
    shift 2
  done
  local input=$1 expect=$2
  shift 2
  local status
  set +e
  /usr/bin/time -o time.txt -f '%e %M' timeout $((seconds_limit * 10)) \
    "$build/fdtools" "$@" "$input" >out.txt 2>err.txt
  status=$?
  set -e
  local measure
  measure=$(tail -n 1 time.txt)
  local seconds=${measure% *} peak_kb=${measure#* }
  local said=""
  if [ -n "$expect" ]; then
    said=$(grep -h -o -m 1 -- "$expect" out.txt err.txt | head -n 1 || true)
  fi
  printf '%-44s %6s %8s %8s %s\n' "$* $input" "$status" "$seconds" "$peak_kb" "$said"
  if [ "$status" -gt 2 ] ||
    awk -v s="$seconds" -v l="$seconds_limit" 'BEGIN { exit !(s > l) }' ||
    [ "$peak_kb" -gt "$memory_limit" ] || { [ -n "$expect" ] && [ -z "$said" ]; }; then
    echo "  FAILED: over the limits, a crash, or the limit not named" >&2
    failed=1
  fi
}

run g5.txt '' --json preserve
run chains.txt '' --json preserve
run g1.txt '' --json report
run g1.txt '' normal-forms
run g5.txt '' normal-forms
run g1.txt '' synthesize --bcnf
run g5.txt '' synthesize --bcnf
"$build/fdtools" synthesize --bcnf g5.txt >bcnf5.txt
run bcnf5.txt '' check-decomposition --bcnf
run pairs.txt 'stopped by the work budget' keys
run pairs.txt 'stopped by the work budget' report
run wide.txt 'stopped by the work budget' normal-forms
for input in fd300.txt fd1000.txt left30000.txt; do
  for command in cover keys normal-forms lossless synthesize; do
    run "$input" '' "$command"
  done
done
for command in lossless report check-decomposition; do
  run star.txt '' --json "$command"
done
run star100k.txt '' check-decomposition
run chain.txt '' synthesize
run chain.txt '' keys
run chain30k.txt '' synthesize
run -t 4 chain.txt 'stopped by the work budget' synthesize --bcnf
run subsets.txt 'stopped by the work budget' normal-forms
run subsets.txt '' cover
run exponential.txt 'the form is decided without it' normal-forms
run wide_tables.txt '' normal-forms
run subsets.txt '' synthesize
run /dev/zero 'larger than' report
# Still past 2 s: every dependency's passes are written (600 MB), the
# preservation test of 12,870 dependencies has no budget, and on 20,000
# attributes the run budget itself takes about 4 s.
run chain.txt 'passes: shown for the first' preserve
run subsets.txt '' preserve
run -t 10 g20.txt '' --json report
run -t 10 g20.txt '' report
exit "$failed"
