#!/bin/sh
# Runs structfit on the bundled synthetic Cu(001) data set in a scratch directory and shows the
# known top-layer relaxation beside the fitted one with its error.
# Usage: run-fit-demo.sh <directory holding the structfit program>
set -e
bin=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/structfit-demo.XXXXXX")
cp "$here/bfgsin.dat" "$here/cu001_base.in" "$here/cu001_blocking.exp" "$work/"
cd "$work"
start=$(date +%s)
OMP_NUM_THREADS=${OMP_NUM_THREADS:-2} "$bin/structfit" > console.txt
end=$(date +%s)
sed -n '/termination reason/,/restarts/p' console.txt
functions=$(grep -c 'FUNCTION EVALUATION NO:' status.dat)
gradients=$(grep -c 'GRADIENT EVALUATION No.:' status.dat)
fitted=$(sed -n '/OPTIMIZED PARAMETERS:/{n;p;}' console.txt)
# The last gradient evaluation: the parameter, the offset DX of its R-factor curve's minimum
# and the error ERR from the curvature there.
last=$(grep 'X,DX AND ERR :' status.dat | tail -n 1)
echo
echo "Run directory: $work ($((end - start)) s, $(grep 'Random seed:' status.dat | tail -n 1 | sed 's/^ *//'))"
echo "Evaluations:   $functions function, $gradients gradient ($((functions + gradients)) simulations)"
echo
echo "top_layer_depth (Å inward; d12 changes by minus this):"
echo "$last $fitted" | awk '{
  printf "  truth (synthetic data)          0.100\n"
  printf "  fitted                      %9.3f +- %.3f\n", $8, $7
  printf "  last curve minimum (X + DX) %9.3f\n", $5 + $6
}'
