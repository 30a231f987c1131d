#!/usr/bin/env bash
# Shared set-up of run.sh and test.sh: installs the Debian packages the build
# needs when they are missing, then configures and builds one tree.
#   tools/setup.sh BUILD_DIR [cmake options...]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/tools/packages.sh"

PACKAGES=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-qpa-plugins qt6-multimedia-dev gstreamer1.0-plugins-good qt6-svg-dev qt6-translations-l10n
    qt6-charts-dev libqt6sql6-sqlite
    libsimpleini-dev libcsv-dev libzip-dev libxlsxwriter-dev
    fonts-liberation fonts-dejavu-core
)

[ $# -ge 1 ] || fail "usage: tools/setup.sh BUILD_DIR [cmake options...]"
build="$1"
shift

install_missing "${PACKAGES[@]}"
cmake -S "$root" -B "$build" -G Ninja "$@" || fail "cmake configuration failed"
cmake --build "$build" --parallel "$(nproc 2>/dev/null || echo 2)" || fail "build failed"
