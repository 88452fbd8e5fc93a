#!/usr/bin/env bash
# Runs the libFuzzer targets, each for SECONDS, seeded from the end-to-end
# cases and the examples. Fails on any crash, leak, timeout or sanitizer
# report; the input that caused it is kept under build/fuzz/artifacts/.
#
# usage: fuzz/run.sh SECONDS [TARGET...]   (build first: cmake --workflow --preset fuzz)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=$1
shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_text fuzz_checker fuzz_join fuzz_fdtools)
build=$root/build/fuzz

seed_folders() {
  case $1 in
    fuzz_checker) echo "$root/tests/e2e/fdcheck $root/examples" ;;
    fuzz_join) echo "$root/tests/e2e/tablejoin $root/examples" ;;
    fuzz_fdtools) echo "$root/tests/e2e/fdtools $root/examples" ;;
    *) echo "$root/tests/e2e $root/examples" ;;
  esac
}

# Short inputs keep the slow paths (cubic preservation test, nested-loop
# join) fast: under the sanitizers a 2 KB join input can build a million
# rows and take twenty seconds.
max_len() {
  case $1 in
    fuzz_checker) echo 4096 ;;
    fuzz_join) echo 1024 ;;
    fuzz_fdtools) echo 2048 ;;
    *) echo 8192 ;;
  esac
}

for target in "${targets[@]}"; do
  seeds=$build/seeds/$target
  corpus=$build/corpus/$target
  rm -rf "$seeds"
  mkdir -p "$seeds" "$corpus" "$build/artifacts"
  n=0
  # shellcheck disable=SC2046
  while IFS= read -r -d '' file; do
    cp "$file" "$seeds/seed$((n += 1))"
  done < <(find $(seed_folders "$target") -type f -not -name '.keep' \
    \( -path '*/files/*' -o -path '*/examples/*' \) -print0)
  echo "== $target: $seconds s from $n seeds"
  "$build/fuzz/$target" -max_total_time="$seconds" -timeout=120 \
    -rss_limit_mb=2048 -max_len="$(max_len "$target")" -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$target-" "$corpus" "$seeds"
done
