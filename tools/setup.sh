#!/usr/bin/env bash
# Installs the Debian packages Tevra needs to build, test and run, when they are missing.
set -euo pipefail

pacotes=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libqt6opengl6-dev
  libgl-dev libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
  libegl-dev libpng-dev ffmpeg
  libgtest-dev libgmock-dev googletest libbenchmark-dev libcli11-dev nlohmann-json3-dev
  parallel
  xvfb xauth fonts-dejavu-core locales
  python3-vtk9  # tests only: VTK's own readers check the exported .vtu, .pvd and .obj files
)

faltando=()
for p in "${pacotes[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    faltando+=("$p")
  fi
done

if [ ${#faltando[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

echo "setup: installing ${faltando[*]}"
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    como=(sudo -n)
  else
    echo "setup: these packages are missing and installing them needs root:" >&2
    echo "  apt-get install ${faltando[*]}" >&2
    exit 1
  fi
else
  como=()
fi
export DEBIAN_FRONTEND=noninteractive
"${como[@]}" apt-get update -q </dev/null
"${como[@]}" apt-get install -y -q --no-install-recommends "${faltando[@]}" </dev/null
