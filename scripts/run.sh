#!/usr/bin/env bash
# Sets up, builds and starts the Vembra navigator. On the first run the application folder gets
# the default working database; files already there are never overwritten.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VEMBRA_BUILD_DIR:-$here/build}"
"$here/scripts/setup.sh"
"$build/bin/vembra" init-folder
exec "$build/bin/vembra-navigator" "$@"
