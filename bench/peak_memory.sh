#!/bin/sh
# Peak memory (maximum resident set) and wall time of polysim on the bundled example and on a
# run of 9999 model pairs (101 structure x 99 vibration models) over 100 atoms, at 1 and 2
# threads. Usage: peak_memory.sh <directory holding the polysim program>
set -e
bin=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/polysim-memory.XXXXXX")

# Cu(001) in 50 layers of two atoms (the example's c(2 x 2) cell), low fluxes, three angles;
# the two top atoms move along x (structure models) and vibrate (vibration models).
large_input() {
  awk 'BEGIN {
    print " 9999 model pairs over 100 atoms: peak memory"
    print "    0   0"
    print "  0 0 0 0 0 0 0 1"
    print "  100 1 2 2 50 3 3 51 3 101 99 1 1 0 0 1 1 2 2"
    print "   29  63.546"
    print "    1   0.000"
    print "    0.000   0.000"
    for (l = 1; l <= 50; l++) {
      z = 1.8075 * (l - 1); s = (l == 1) ? 0.125 : 0.077
      if (l % 2 == 1) { print 0.0, 0.0, z, 1, 1, l, s, 0, 0, 1; print 1.808, 1.808, z, 2, 2, l, s, 0, 0, 1 }
      else { print 1.808, 0.0, z, 2, 1, l, s, 0, 0, 1; print 0.0, 1.808, z, 1, 2, l, s, 0, 0, 1 }
    }
    print "    3.615   3.615"
    print "    0.000   1.808"
    print "    0.000   1.808"
    for (l = 1; l <= 50; l++) printf " %.3f", -0.904 + 1.8075 * (l - 1); print ""
    print "    0.000   0.000 125.000   5.000   2.000"
    print "    1    1.008  100.000 0.200E+03 0.200E+03"
    print " shift_x 101"
    for (s = 1; s <= 101; s++) printf " %.4f", 0.001 * (s - 1); print ""
    for (s = 1; s <= 101; s++) printf " %d", s; print ""
    print " sigma_top 99"
    for (v = 1; v <= 99; v++) printf " %.4f", 0.077 + 0.0005 * (v - 1); print ""
    for (v = 1; v <= 99; v++) printf " %d", v; print ""
    for (s = 1; s <= 101; s++) printf " %.4f 0.0 0.0 %.4f 0.0 0.0\n", 0.001 * (s - 1), 0.001 * (s - 1)
    for (v = 1; v <= 99; v++) printf " %.4f %.4f\n", 0.077 + 0.0005 * (v - 1), 0.077 + 0.0005 * (v - 1)
    print "    0"
  }'
}

# measure <name> <input file> <threads>: one run in its own directory.
measure() {
  dir="$work/$1-$3"
  mkdir -p "$dir"
  cp "$2" "$dir/run.in"
  printf '%s\n%s\n' run.in run > "$dir/polysim1.io"
  (cd "$dir" && OMP_NUM_THREADS=$3 /usr/bin/time -f "%M %e" -o time.txt "$bin/polysim" > console.txt)
  awk -v name="$1" -v threads="$3" \
    '{ printf "%-8s %s threads: peak %7.1f MB, %7.2f s\n", name, threads, $1 / 1024, $2 }' \
    "$dir/time.txt"
}

large_input > "$work/large.in"
for threads in 1 2; do
  measure example "$here/../examples/cu001.in" "$threads"
  measure large "$work/large.in" "$threads"
done
echo "Runs in $work"
