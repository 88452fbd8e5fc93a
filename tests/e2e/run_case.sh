#!/usr/bin/env bash
# Runs one end-to-end case against a tool binary and compares every byte.
#
# usage: run_case.sh TOOL CASE_DIR
#
# A case folder holds:
#   args     optional; one argument per line (an empty line is an empty
#            argument); without it the tool gets no argument
#   files/   optional; the files present in the working folder before the run
#   stdin    optional; the bytes on standard input (else none)
#   stdin_path   optional; a path to open as standard input instead, from
#            the working folder ("." is a directory); {shell} stands for
#            this script's process id, so that /proc/{shell}/mem is a file
#            that opens but cannot be read
#   stdout_path  optional; a path to send standard output to instead (such
#            as /dev/full); then stdout is not compared
#   stdout   the exact bytes expected on standard output
#   stderr   optional; the exact bytes expected on standard error (else none)
#   status   optional; the expected exit status (else 0)
#   after/   optional; the exact files expected in the working folder after
#            the run, no more and no fewer (without it: no file at all)
#
# A tool still running after E2E_TIMEOUT seconds (default 60; a case's own
# `timeout` file, for one that must exhaust a work budget, overrides it) is
# killed and the case fails, so that a hang cannot hold up the whole suite.
set -euo pipefail

tool=$(realpath "$1")
case_dir=$(realpath "$2")

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/work" "$tmp/none"

if [ -d "$case_dir/files" ]; then
  cp -a "$case_dir/files/." "$tmp/work/"
fi
args=()
if [ -f "$case_dir/args" ]; then
  mapfile -t args <"$case_dir/args"
fi

limit=${E2E_TIMEOUT:-60}
[ -f "$case_dir/timeout" ] && limit=$(<"$case_dir/timeout")

stdin=/dev/null
[ -f "$case_dir/stdin" ] && stdin="$case_dir/stdin"
if [ -f "$case_dir/stdin_path" ]; then
  stdin=$(<"$case_dir/stdin_path")
  stdin=${stdin//\{shell\}/$$}
fi
stdout="$tmp/stdout"
if [ -f "$case_dir/stdout_path" ]; then
  stdout=$(<"$case_dir/stdout_path")
  : >"$tmp/stdout"
fi
status=0
(cd "$tmp/work" && exec timeout -k 5 "$limit" "$tool" "${args[@]}" \
  <"$stdin") >"$stdout" 2>"$tmp/stderr" || status=$?
if [ "$status" = 124 ] || [ "$status" = 137 ]; then
  echo "the tool did not finish within $limit s"
fi

failed=0
expected_status=$(cat "$case_dir/status" 2>/dev/null || echo 0)
if [ "$status" != "$expected_status" ]; then
  echo "exit status: expected $expected_status, got $status"
  failed=1
fi
for stream in stdout stderr; do
  [ "$stream" = stdout ] && [ -f "$case_dir/stdout_path" ] && continue
  expected="$case_dir/$stream"
  [ -f "$expected" ] || expected=/dev/null
  if ! cmp -s "$expected" "$tmp/$stream"; then
    echo "$stream differs; expected, then actual (cat -A):"
    cat -A "$expected"
    echo "---"
    cat -A "$tmp/$stream"
    failed=1
  fi
done

after="$case_dir/after"
[ -d "$after" ] || after="$tmp/none"
if ! diff -r "$after" "$tmp/work" >"$tmp/diff"; then
  echo "files after the run differ from $after:"
  cat "$tmp/diff"
  while IFS= read -r -d '' file; do
    echo "== $file (od -c):"
    od -c "$file" | head -n 20
  done < <(find "$tmp/work" -type f -print0)
  failed=1
fi
exit "$failed"
