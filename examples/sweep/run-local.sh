#!/usr/bin/env bash
# Runs every row of a sweep on this machine with GNU parallel, then gathers the rows'
# manifests into one table:
#   examples/sweep/run-local.sh [POINTS] [OUT]
# POINTS: the rows (default: points.tsv beside this file); OUT: the output folder (default:
# runs), which receives one folder per row, joblog.tsv (GNU parallel's record of every row,
# its exit status in the column Exitval) and sweep.csv (tevra-sim --collect).
# THREADS: threads per run (default 1); JOBS: runs at once (default: cores / THREADS).
# Exits 0 when every row exited 0, else with the number of rows that did not (at most 101).
set -euo pipefail
aqui=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
sim=${TEVRA_SIM:-$aqui/../../build/bin/tevra-sim}
pontos=${1:-$aqui/points.tsv}
saida=${2:-runs}
threads=${THREADS:-1}
jobs=${JOBS:-$(($(nproc) / threads))}
if [ "$jobs" -lt 1 ]; then jobs=1; fi

command -v parallel >/dev/null || {
  echo "run-local.sh: GNU parallel is missing (tools/setup.sh installs it)" >&2
  exit 2
}
mkdir -p "$saida"
linhas() { grep -v -e '^#' -e '^[[:space:]]*$' "$pontos"; }

# Each run reads its thread count from OMP_NUM_THREADS (tevra-sim --help: --threads).
export OMP_NUM_THREADS=$threads
falhas=0
linhas | parallel -q --jobs "$jobs" --joblog "$saida/joblog.tsv" --line-buffer \
  --tagstring '{= s/\t.*// =}' "$aqui/run-row.sh" "$saida" {} || falhas=$?

pastas=()
while IFS=$'\t' read -r nome _; do pastas+=("$saida/$nome"); done < <(linhas)
"$sim" --collect "${pastas[@]}" >"$saida/sweep.csv"
echo "run-local.sh: $(linhas | wc -l) rows, $falhas not done; $saida/joblog.tsv, $saida/sweep.csv"
exit "$falhas"
