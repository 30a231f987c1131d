#!/usr/bin/env bash
# Shared set-up of run.sh and test.sh: installs the Debian packages the build
# needs when they are missing, then configures and builds one tree.
#   tools/setup.sh BUILD_DIR [cmake options...]
set -euo pipefail

PACKAGES=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-qpa-plugins qt6-multimedia-dev gstreamer1.0-plugins-good qt6-svg-dev qt6-translations-l10n
    libsimpleini-dev
    fonts-liberation fonts-dejavu-core
)

fail() {
    echo "setup: $*" >&2
    exit 1
}

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    command -v apt-get >/dev/null || fail "apt-get not found: install by hand: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || fail "not root and no sudo: install by hand: ${missing[*]}"
        sudo=(sudo)
    fi
    echo "setup: installing ${missing[*]}"
    "${sudo[@]}" apt-get update -qq || fail "apt-get update failed"
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}" \
        || fail "could not install: ${missing[*]}"
}

[ $# -ge 1 ] || fail "usage: tools/setup.sh BUILD_DIR [cmake options...]"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$1"
shift

install_missing
cmake -S "$root" -B "$build" -G Ninja "$@" || fail "cmake configuration failed"
cmake --build "$build" --parallel "$(nproc 2>/dev/null || echo 2)" || fail "build failed"
