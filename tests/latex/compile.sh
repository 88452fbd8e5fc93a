#!/usr/bin/env bash
# Compiles one LaTeX document with pdflatex in a scratch folder; fails on
# any error, and on a warning about the document itself.
#
# usage: compile.sh PDFLATEX FILE.tex
set -euo pipefail
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$2" "$tmp/document.tex"
cd "$tmp"
if ! "$1" -interaction=nonstopmode -halt-on-error document.tex >/dev/null; then
  grep -A5 '^!' document.log >&2 || cat document.log >&2
  exit 1
fi
if grep -E 'LaTeX Warning|Missing character' document.log >&2; then exit 1; fi
test -s document.pdf
