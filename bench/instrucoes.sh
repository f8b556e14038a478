#!/usr/bin/env bash
# Instructions per node-step of one integrator, counted by callgrind on the 64 x 64 sheet of
# bench/folha64.anisot1: a 31-step run minus a 7-step run, one thread, so that set-up and
# the frame file cancel out.
#   bash bench/instrucoes.sh [TEVRA_SIM] [SOLVER]      (TEVRA_SIMD=escalar for the scalar kernels)
set -euo pipefail
sim=${1:-build/bin/tevra-sim}
solver=${2:-Semi-explicit Euler}
aqui=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
sed 's/^n_passos = .*/n_passos = 8/' "$aqui/folha64.anisot1" > "$tmp/curta.anisot1"
contar() {
  valgrind --tool=callgrind --callgrind-out-file="$tmp/cg.out" "$sim" "$1" --solver "$solver" \
    --out "$tmp/quadros" --threads 1 > /dev/null 2>&1
  callgrind_annotate "$tmp/cg.out" | awk '/PROGRAM TOTALS/ && !n {gsub(",", "", $1); print $1; n = 1}'
}
longa=$(contar "$aqui/folha64.anisot1")
curta=$(contar "$tmp/curta.anisot1")
echo "$solver: $(( (longa - curta) / (24 * 64 * 64) )) instructions per node-step"
