#!/usr/bin/env bash
# Configures and builds one flavour of the tree: "release" (build/) or
# "sanitize" (build-asan/, the program and every test, with AddressSanitizer
# and UndefinedBehaviorSanitizer).
set -euo pipefail
cd "$(dirname "$0")/.."
flavour=${1:-release}
case "$flavour" in
  release)  dir=build;      flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  sanitize) dir=build-asan; flags=(-DCMAKE_BUILD_TYPE=Debug -DORLIK_SANITIZE=ON -DORLIK_BENCH=OFF) ;;
  *) echo "usage: $0 [release|sanitize]" >&2; exit 2 ;;
esac
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir"
