#!/usr/bin/env bash
# Sets up the machine, builds Orlik and opens it on the demo savestate.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh release
demo=build/demo/demo.zst
[ -f "$demo" ] || demo=""
exec build/orlik ${demo:+"$demo"} "$@"
