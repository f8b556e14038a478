#!/usr/bin/env bash
# One row of a sweep, as run-local.sh and sweep.sbatch start it:
#   run-row.sh OUT ROW
# ROW is a line of points.tsv (a name, then KEY=VALUE overrides, separated by tabs). Runs
# tevra-sim on the sweep's scene with the row's overrides into OUT/NAME and exits with
# tevra-sim's own status, so that the scheduler's log shows how each row ended.
# TEVRA_SIM (default: build/bin/tevra-sim of this checkout) and SCENE (default:
# scene.anisot1 beside this file) choose the program and the scene.
set -euo pipefail
aqui=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
sim=${TEVRA_SIM:-$aqui/../../build/bin/tevra-sim}
cena=${SCENE:-$aqui/scene.anisot1}

if [ $# -ne 2 ]; then
  echo "usage: run-row.sh OUT ROW" >&2
  exit 2
fi
saida=$1
IFS=$'\t' read -r -a campos <<<"$2"
nome=${campos[0]:-}
if [ -z "$nome" ] || [[ "$nome" == */* ]]; then
  echo "run-row.sh: a row starts with its name, a folder name without '/': '$2'" >&2
  exit 2
fi
argumentos=()
for kv in "${campos[@]:1}"; do
  if [ -n "$kv" ]; then argumentos+=(--set "$kv"); fi
done
exec "$sim" "$cena" "${argumentos[@]}" --out "$saida/$nome"
