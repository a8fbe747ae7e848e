#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test: the core and
# window tests, then the core tests again under the sanitizers, then every
# fuzz harness for a short while.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh release
export QT_QPA_PLATFORM=offscreen
(cd build && ctest --output-on-failure -j2)
scripts/build.sh sanitize
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-asan && ctest --output-on-failure -j2)
# Every fuzz harness briefly on its seed corpus, so a reader that crashes on
# an input we have seen before fails here.
scripts/fuzz.sh "${ORLIK_FUZZ_SECONDS:-20}"
