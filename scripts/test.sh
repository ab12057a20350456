#!/usr/bin/env bash
# Sets up, builds and runs every test.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VEMBRA_BUILD_DIR:-$here/build}"
"$here/scripts/setup.sh" --tests
# The import tests talk to a Firebird server on 127.0.0.1; it is stopped when the tests end.
VEMBRA_BUILD_DIR="$build" "$here/scripts/firebird.sh"
trap 'VEMBRA_BUILD_DIR="$build" "$here/scripts/firebird.sh" stop' EXIT
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 600
