#!/usr/bin/env bash
# Builds the libFuzzer harnesses (clang, with AddressSanitizer and UndefinedBehaviorSanitizer)
# into build-fuzz/ and runs each for SECONDS (default 60):
#   bash tools/fuzz.sh [SECONDS] [fuzz_script|fuzz_quadro ...] [libFuzzer options ...]
# Inputs that found new code paths are kept in build-fuzz/corpus/NAME (the checked-in seeds in
# fuzz/corpus/NAME are only read); a crash, a leak or a hang is written to
# build-fuzz/crashes/NAME/ and ends the script with a non-zero status.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/sanitizadores.sh

segundos=60
if [ $# -gt 0 ] && [[ "$1" =~ ^[0-9]+$ ]]; then
  segundos=$1
  shift
fi
alvos=()
opcoes=()
for a in "$@"; do
  case "$a" in
    fuzz_*) alvos+=("$a") ;;
    *) opcoes+=("$a") ;;
  esac
done
[ ${#alvos[@]} -gt 0 ] || alvos=(fuzz_script fuzz_quadro)

pasta=build-fuzz
cmake -S . -B "$pasta" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DTEVRA_FUZZ=ON -DTEVRA_GUI=OFF -DTEVRA_TESTS=OFF -DTEVRA_BENCH=OFF ${TEVRA_CMAKE_ARGS:-}
cmake --build "$pasta" --parallel "$(nproc)" --target "${alvos[@]}"

for alvo in "${alvos[@]}"; do
  nome=${alvo#fuzz_}
  mkdir -p "$pasta/corpus/$nome" "$pasta/crashes/$nome"
  echo "fuzz: $alvo for $segundos s; crashes go to $pasta/crashes/$nome/"
  # One engine thread: the harnesses measure nothing, and the fuzzer keeps its core.
  OMP_NUM_THREADS=1 "$pasta/bin/$alvo" -max_total_time="$segundos" -timeout=25 -print_final_stats=1 \
    -dict="fuzz/$nome.dict" -artifact_prefix="$pasta/crashes/$nome/" ${opcoes[@]+"${opcoes[@]}"} \
    "$pasta/corpus/$nome" "fuzz/corpus/$nome"
done
