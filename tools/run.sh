#!/usr/bin/env bash
# Sets up, builds and starts Varnex 2010 with the shipped font map.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/tools/setup.sh" "$here/build"
exec "$here/build/bin/Varnex2010" "$@"
