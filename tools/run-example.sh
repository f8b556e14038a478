#!/usr/bin/env bash
# Runs the bundled example scene headless (its frames go to the Tevra home's tmp folder),
# leaves a copy of it where File > "Abrir" first looks, and starts the windows when there is
# a display to show them on. Arguments are handed to tevra-sim: `--export vtu` (or obj) also
# writes the frames for ParaView (or Blender).
set -euo pipefail
cd "$(dirname "$0")/.."

home="${TEVRA_HOME:-${HOME:-$PWD}/Tevra}"
mkdir -p "$home/scripts" "$home/tmp" "$home/Imagens"
if [ ! -e "$home/scripts/script.anisot1" ]; then
  cp assets/scenes/script.anisot1 "$home/scripts/script.anisot1"
fi

build/bin/tevra-sim assets/scenes/script.anisot1 "$@"

if [ -n "${CI:-}" ]; then
  echo "run-example: CI run, the windows are not started"
elif [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/tevra
else
  echo "run-example: no display (DISPLAY and WAYLAND_DISPLAY are unset), the windows are not started;"
  echo "  on a desktop, start them with: build/bin/tevra [SCRIPT]"
fi
