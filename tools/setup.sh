#!/usr/bin/env bash
# Installs the Debian packages that are missing, then configures and builds Varnex 2010.
#   tools/setup.sh [BUILD_DIR [extra cmake arguments...]]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
shift || true

mapfile -t wanted < <(grep -v -E '^\s*(#|$)' "$here/tools/debian-packages.txt")
missing=()
for package in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ $status == "install ok installed" ]] || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
  $sudo apt-get update -q
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cmake -S "$here" -B "$build" -G Ninja "$@"
cmake --build "$build" --parallel "$(nproc)"
