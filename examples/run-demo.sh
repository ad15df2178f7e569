#!/bin/sh
# Runs polysim on the bundled Cu(001) example in a scratch directory, then shows where the
# files are and the [101] blocking dip of each top-layer relaxation, and draws the blocking
# curves with ionplot.
# Usage: run-demo.sh <directory holding the polysim and ionplot programs>
set -e
bin=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/polysim-demo.XXXXXX")
cp "$here/cu001.in" "$work/"
cd "$work"
printf '%s\n%s\n' cu001.in cu001 > polysim1.io
start=$(date +%s)
"$bin/polysim" > polysim.log
end=$(date +%s)
tail -n 3 cu001.status
echo
echo "Run directory: $work ($((end - start)) s)"
echo "Status file:   $work/cu001.status"
echo "Result files:  $work/cu001.0001 ... cu001.0012 (relaxation outermost, 3 vibration models each)"
echo
echo "Blocking dip along [101] (bulk at 135 degree), bulk-like top-layer vibration:"
echo "  file        d12 change   dip centre (deg)   signal at the dip   signal at 120 degree"
for n in 1 4 7 10; do
  file=$(printf 'cu001.%04d' "$n")
  awk -v file="$file" '
    / - delta_d12/ { relax = $NF }
    /Total signal Elements/ { table = 1; next }
    table && /Total signal Layers/ { table = 0 }
    table && NF >= 2 && $1 ~ /^[0-9.]+$/ {
      n++; angle[n] = $1; total[n] = $2
      if (low == 0 || $2 + 0 < total[low] + 0) low = n
    }
    END {
      # The centre of the parabola through the lowest point and its two neighbours.
      centre = angle[low]
      if (low > 1 && low < n) {
        curve = total[low - 1] - 2 * total[low] + total[low + 1]
        if (curve > 0)
          centre += (angle[low + 1] - angle[low]) * (total[low - 1] - total[low + 1]) / (2 * curve)
      }
      printf "  %s   %9.3f Å     %8.2f          %8.3f             %8.3f\n", file, relax, centre,
             total[low], total[1]
    }
  ' "$file"
done
echo
# The four relaxations with bulk-like top-layer vibration, overlaid.
"$bin/ionplot" --title "Cu(001), 100 keV H+: [101] blocking dip for four top-layer relaxations" \
  blocking "$work/cu001-blocking.png" cu001.0001 cu001.0004 cu001.0007 cu001.0010
echo "Blocking curves: $work/cu001-blocking.png"
