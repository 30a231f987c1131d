#!/usr/bin/env bash
# Installs what is missing, builds a release, lays out the program folder
# build/Quorvel/ and starts the program from there.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$root"

tools/setup.sh build/release -DCMAKE_BUILD_TYPE=Release -DQUORVEL_TESTS=OFF -DQUORVEL_BENCH=OFF
cmake --install build/release --prefix build/Quorvel >/dev/null || { echo "run: could not lay out build/Quorvel" >&2; exit 1; }

echo "run: starting build/Quorvel/quorvel"
exec build/Quorvel/quorvel "$@"
