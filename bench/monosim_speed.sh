#!/bin/sh
# Ions per second of monosim against polysim with one model pair, on the same crystal: the
# Cu(001) example with every atom vibrating 0.077 Å along x, y and z, random starts, the
# shadowing run and 31 blocking runs, each program on 1 and on 2 threads (same seed).
# Usage: monosim_speed.sh <directory holding monosim and polysim> [flux, ions/Å², default 5000]
set -e
bin=$(cd "$1" && pwd)
flux=${2:-5000}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/monosim-speed.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
# monosim: the example with the top layer's out-of-plane amplitude set to the bulk one.
sed -e 's/0\.077   0\.077   0\.120/0.077   0.077   0.077/' \
    -e "s/0\.200E+05 0\.200E+05/$flux $flux/" "$here/../examples/cu001_mono.in" > mono.in
# polysim: the same groups 1 to 14 in its layout, one structure and one vibration model without
# model atoms, random starts.
awk 'NR == 3 { print "  1  0  0  0  0  0  0  1"; next }
     NR == 4 { print "   16   1   2   2   8   3   3   9  31   1   1   0   0   0   0   0   0   0   0"; next }
     NR == 7 { print "    0.000   0.000"; next }
     NR >= 8 && NR <= 23 { printf " %s %s %s %s %s %s %s 0.0 0.0 %s\n", $1, $2, $3, $4, $5, $6, $7, $10; next }
     { print }
     END { print ""; print ""; print " 0" }' mono.in > poly.in
printf 'mono.in\nmono.out\n' > monosim1.io
printf 'poly.in\npoly\n' > polysim1.io
# Ions of all runs: the start grid of every run direction (normal incidence; exit polar angles
# 60 to 30 degree, azimuth 180), as the launch lays it out for cos(polar) flux a^2 ions.
ions=$(awk -v flux="$flux" 'BEGIN {
  a = 3.615; pi = 4 * atan2(1, 1); total = 0
  for (j = 0; j <= 31; j++) {
    polar = (j == 0) ? 0 : (180 - (120 + (j - 1))) * pi / 180
    n = cos(polar) * flux * a * a; g = sqrt(a * a * cos(polar) / n)
    q = sqrt((cos(polar) * cos(pi)) ^ 2 + sin(pi) ^ 2)
    nx = int(q * a / g + 0.5); ny = int(a * cos(polar) / (g * q) + 0.5)
    total += (nx < 1 ? 1 : nx) * (ny < 1 ? 1 : ny)
  }
  print total }')
seconds() { date +%s.%N; }
echo "ions per run set: $ions"
for program in polysim monosim; do
  for threads in 1 2; do
    start=$(seconds)
    OMP_NUM_THREADS=$threads OMP_WAIT_POLICY=passive IONBEAM_SEED=1 "$bin/$program" > /dev/null
    end=$(seconds)
    awk -v p="$program" -v t="$threads" -v s="$start" -v e="$end" -v n="$ions" \
      'BEGIN { printf "%-8s %d thread(s): %6.2f s, %9.0f ions/s\n", p, t, e - s, n / (e - s) }'
  done
done
