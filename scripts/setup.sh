#!/usr/bin/env bash
# Sets up everything the navigator needs on Debian 12 and builds it. Safe to run again: packages
# already present are not reinstalled, and an up-to-date build does nothing.
#   scripts/setup.sh            packages for building and running, then the build
#   scripts/setup.sh --tests    also the packages the tests need
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VEMBRA_BUILD_DIR:-$here/build}"

packages=(
    cmake g++ ninja-build           # the toolchain
    qt6-base-dev                    # Qt 6 Widgets, PrintSupport, and Qt's JPEG support
    libsqlite3-dev zlib1g-dev       # working databases, compressed maps
    fonts-liberation fonts-dejavu-core  # faces metric-compatible with the fonts maps name
    libgtest-dev libbenchmark-dev   # tests and benchmarks are built with the program
    firebird-dev libfbclient2       # the system database's client (headers to build with)
    firebird3.0-server-core         # opening .norv files directly, and their WIN1251 texts
    xvfb xauth                      # running the window without a screen
)
if [[ "${1:-}" == "--tests" ]]; then
    packages+=(
        poppler-utils               # printed pages checked as PDF
        firebird3.0-server firebird3.0-utils  # the test server on 127.0.0.1 (scripts/firebird.sh)
        clang libclang-rt-14-dev    # the map-blob fuzzer (libFuzzer and the sanitizers)
    )
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
        "${missing[@]}" >/dev/null
fi

if [[ ! -f "$build/build.ninja" ]]; then
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j"$(nproc)"
