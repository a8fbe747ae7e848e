#!/usr/bin/env bash
# Checks that the libraries keep their layers, sets up the machine, checks
# the layout of the sources, builds everything
# and runs every test: the core and window tests, then all of them again
# under the sanitizers, then every fuzz harness for a short while; last it
# builds the Release configuration that packages are made from. A layout
# difference fails the run at the end, after the tests have had their say.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/check-layers.sh
scripts/setup.sh
format=0
scripts/check-format.sh || format=$?
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
scripts/build.sh package
if (( format != 0 )); then
  echo "the tests passed, but the layout check failed (see its list above)" >&2
  exit "$format"
fi
