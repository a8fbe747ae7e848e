#!/usr/bin/env bash
# Configures and builds one flavour of the tree: "release" (build/) or
# "sanitize" (build-asan/, the program and every test, with AddressSanitizer
# and UndefinedBehaviorSanitizer) or "package" (build-package/, the Release
# configuration that packagers and cpack use). Warnings are errors in all three.
set -euo pipefail
cd "$(dirname "$0")/.."
flavour=${1:-release}
case "$flavour" in
  release)  dir=build;      flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  sanitize) dir=build-asan; flags=(-DCMAKE_BUILD_TYPE=Debug -DORLIK_SANITIZE=ON -DORLIK_BENCH=OFF) ;;
  package)  dir=build-package; flags=(-DCMAKE_BUILD_TYPE=Release -DORLIK_BENCH=OFF) ;;
  *) echo "usage: $0 [release|sanitize|package]" >&2; exit 2 ;;
esac
cmake -S . -B "$dir" -G Ninja -DORLIK_WERROR=ON "${flags[@]}" >/dev/null
cmake --build "$dir"
