#!/usr/bin/env bash
# Runs every test of a built tree, then the checking builds: every test again under
# AddressSanitizer and UndefinedBehaviorSanitizer (tools/asan.sh, build-asan/) and each
# fuzzer for a minute (tools/fuzz.sh, build-fuzz/). Says how long each stage took.
set -euo pipefail
cd "$(dirname "$0")/.."
etapa() {
  local inicio=$SECONDS
  "$@"
  echo "test: '$*' took $((SECONDS - inicio)) s"
}
etapa ctest --test-dir build --output-on-failure --timeout 1200
etapa bash tools/asan.sh
etapa bash tools/fuzz.sh 60
