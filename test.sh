#!/usr/bin/env bash
# Installs what is missing, builds the tests (warnings as errors, address and
# undefined-behaviour sanitizers on), runs each fuzz target briefly and then
# every test.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$root"

# pdftotext measures printed pages in the report tests; python3 runs the
# check of the include structure.
source tools/packages.sh
install_missing poppler-utils python3
tools/includecycles.py || { echo "test: windows reach into each other (see above)" >&2; exit 1; }
tools/setup.sh build/tests -DCMAKE_BUILD_TYPE=Debug -DQUORVEL_WERROR=ON -DQUORVEL_SANITIZE=ON
tools/fuzz.sh

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0
ctest --test-dir build/tests --output-on-failure --timeout 600 "$@" || { echo "test: some tests failed" >&2; exit 1; }
