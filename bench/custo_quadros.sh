#!/usr/bin/env bash
# What writing every frame costs a run: the example scene on a 100 x 100 sheet, 601 steps, one
# engine thread, writing every frame against writing frame 1 only, each into a fresh folder,
# interleaved N times (default 7). Prints the medians and the fastest runs and their ratios: on
# a shared machine the fastest pair shows the program's own cost best.
#   bash bench/custo_quadros.sh build/bin/tevra-sim [N]
set -euo pipefail
sim=${1:?usage: custo_quadros.sh TEVRA_SIM [N]}
vezes=${2:-7}
cena="$(dirname "$0")/../assets/scenes/script.anisot1"
pasta=$(mktemp -d "${TMPDIR:-/tmp}/custo_quadros.XXXXXX")
trap 'rm -rf "$pasta"' EXIT
medir() {  # wall seconds of one run with pula=$1
    rm -rf "$pasta/s" && mkdir "$pasta/s"
    local t0 t1
    t0=$(date +%s.%N)
    "$sim" "$cena" --quiet --threads 1 --set grid=100,100 --set n_passos=601 --set pula="$1" --out "$pasta/s" >/dev/null
    t1=$(date +%s.%N)
    awk -v a="$t0" -v b="$t1" 'BEGIN {printf "%.3f\n", b - a}'
}
todos=() ; um=()
for _ in $(seq "$vezes"); do
    um+=("$(medir 100000)")
    todos+=("$(medir 1)")
done
mediana() { printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'; }
minimo() { printf '%s\n' "$@" | sort -g | head -1; }
relatar() {  # label, frame-1-only time, every-frame time
    awk -v r="$1" -v a="$2" -v b="$3" 'BEGIN {printf "%-8s frame 1 only %.3f s, every frame %.3f s: %+.1f%%\n", r, a, b, (b / a - 1) * 100}'
}
relatar median "$(mediana "${um[@]}")" "$(mediana "${todos[@]}")"
relatar fastest "$(minimo "${um[@]}")" "$(minimo "${todos[@]}")"
