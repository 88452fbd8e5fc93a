#!/usr/bin/env bash
# Runs both tools under valgrind's memcheck on the shipped examples; any
# memory error or leak fails.
# usage: memcheck.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$root"/examples/*.txt "$work/"
cd "$work"
check() {
  valgrind --quiet --error-exitcode=1 --leak-check=full \
    --errors-for-leak-kinds=all "$@" >/dev/null
  echo "memcheck clean: $*"
}
check "$build/fdcheck"
check "$build/fdcheck" input-address.txt
check "$build/tablejoin"
check "$build/fdcheck" inputmissing.txt
check "$build/fdtools" report input2n.txt
check "$build/fdtools" --json report input-address.txt
