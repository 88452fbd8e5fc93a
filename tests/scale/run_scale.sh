#!/usr/bin/env bash
# Scale test, kept out of the default suite: about 50 MB of generated input
# through both tools, as one huge line and as a million short lines. Fails
# when a run takes longer than 60 s, does not finish with "Output written.",
# or peaks above FACTOR times the input size plus 64 MB of memory.
#
# usage: run_scale.sh BUILD_DIR [FACTOR]   (FACTOR defaults to 4)
set -euo pipefail

build=$(realpath "$1")
factor=${2:-4}
limit_seconds=60
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One table line of five million names, then one dependency.
huge_table_line() {
  awk 'BEGIN { for (i = 0; i < 5000000; i++) printf "a%07d,", i;
               printf "a\n\na0000001->a0000002\n" }'
}
# A million tables of five names each (a thousand distinct names).
short_table_lines() {
  awk 'BEGIN { for (i = 0; i < 1000000; i++)
                 printf "attr%03d,attr%03d,attr%03d,attr%03d,attr%03d\n",
                        i % 1000, (i * 7) % 1000, (i * 13) % 1000,
                        (i * 17) % 1000, (i * 19) % 1000;
               printf "\nattr001->attr002\n" }'
}
# A table whose only row is one 50 MB cell.
huge_cell_line() {
  printf 'join(T)\nT(c)\n'
  head -c 50000000 /dev/zero | tr '\0' 'x'
  printf '\n'
}
# A million rows joined with a two-row table.
short_rows() {
  printf 'join(T, U)\n\nU(kind, label)\nA, first kind\nB, second kind\n\n'
  printf 'T(id int, kind, note text)\n'
  awk 'BEGIN { for (i = 0; i < 1000000; i++)
                 printf "%d, %s, note number %d of the table\n",
                        i, (i % 2 ? "B" : "A"), i }'
}

failed=0
printf '%-10s %-18s %10s %8s %10s %8s\n' tool input bytes seconds peak_kb ratio
run() {
  local tool=$1 shape=$2
  local input=$work/input_$shape.txt
  "$shape" >"$input"
  local bytes
  bytes=$(stat -c %s "$input")
  local measure
  measure=$(cd "$work" && /usr/bin/time -f '%e %M' \
    timeout $((limit_seconds * 2)) "$build/$tool" "$input" "$work/out.txt" \
    2>&1 >"$work/console.txt" | tail -n 1)
  local seconds=${measure% *} peak_kb=${measure#* }
  local limit_kb=$(((factor * bytes) / 1024 + 65536))
  printf '%-10s %-18s %10d %8s %10d %8s\n' "$tool" "$shape" "$bytes" \
    "$seconds" "$peak_kb" "$(awk -v p="$peak_kb" -v b="$bytes" \
      'BEGIN { printf "%.2f", p * 1024 / b }')"
  if ! tail -c 15 "$work/console.txt" | grep -q 'Output written.$'; then
    echo "  FAIL: did not finish with \"Output written.\""
    failed=1
  fi
  if awk -v s="$seconds" -v l="$limit_seconds" 'BEGIN { exit !(s > l) }'; then
    echo "  FAIL: took more than $limit_seconds s"
    failed=1
  fi
  if [ "$peak_kb" -gt "$limit_kb" ]; then
    echo "  FAIL: peak memory above $factor x input + 64 MB ($limit_kb KB)"
    failed=1
  fi
  rm -f "$input" "$work/out.txt"
}

run fdcheck huge_table_line
run fdcheck short_table_lines
run tablejoin huge_cell_line
run tablejoin short_rows
exit "$failed"
