#!/usr/bin/env bash
# Runs the bundled example scene; its frames go to the Tevra home's tmp folder.
set -euo pipefail
cd "$(dirname "$0")/.."
build/bin/tevra-sim assets/scenes/script.anisot1
