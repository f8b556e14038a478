#!/usr/bin/env bash
# Builds Tevra and its tests with AddressSanitizer and UndefinedBehaviorSanitizer (clang, -O1
# -g) into build-asan/ and runs every test there, the GL picture tests under Xvfb included.
# Any sanitizer report ends its test with a failure. Extra arguments go to ctest (-R NAME).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/sanitizadores.sh
pasta=build-asan
cmake -S . -B "$pasta" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DTEVRA_SANITIZE=ON -DTEVRA_BENCH=OFF ${TEVRA_CMAKE_ARGS:-}
cmake --build "$pasta" --parallel "$(nproc)"
# Passive OpenMP threads: a checked build is slow enough without spinning at every barrier.
OMP_WAIT_POLICY=passive ctest --test-dir "$pasta" --output-on-failure --timeout 1800 --parallel "$(nproc)" "$@"
