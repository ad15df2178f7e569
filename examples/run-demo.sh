#!/bin/sh
# Runs polysim on the bundled example in a scratch directory and shows what it wrote.
# Usage: run-demo.sh <directory holding the polysim program>
set -e
bin=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/polysim-demo.XXXXXX")
cp "$here/cu001_small.in" "$work/"
cd "$work"
printf '%s\n%s\n' cu001_small.in cu001 > polysim1.io
"$bin/polysim"
echo
echo "Run directory: $work"
echo "Status file:   $work/cu001.status"
