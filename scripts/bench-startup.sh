#!/usr/bin/env bash
# Times what a file manager pays per file: one orlik-cli process for one
# savestate. Prints the mean wall time of a process (over COUNT runs, default
# 200) and its peak memory for "detect", "thumbnail" and a one-file
# "render", and for an empty process ("--version") as the floor.
#
#   scripts/bench-startup.sh [COUNT]
#
# ORLIK_CLI names the tool (default build/orlik-cli); the state is
# ORLIK_BENCH_STATE, else the first Snes9x fixture (ORLIK_FIXTURES or
# ../shared/fixtures), else the demo.
set -euo pipefail
cd "$(dirname "$0")/.."

count=${1:-200}
cli=${ORLIK_CLI:-build/orlik-cli}
fixtures=${ORLIK_FIXTURES:-../shared/fixtures}
[ -x "$cli" ] || { echo "$cli not found: build first (scripts/build.sh)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time not found: run scripts/setup.sh" >&2; exit 1; }
state=${ORLIK_BENCH_STATE:-$(ls "$fixtures"/snes9x/*.000 2>/dev/null | head -1 || true)}
[ -n "$state" ] || state=resources/demo/demo.000
work=$(mktemp -d "${TMPDIR:-/tmp}/orlik-bench-startup.XXXXXX")
trap 'rm -rf "$work"' EXIT
# Pinning (taskset) is an extra process per run; only on request.
pin=()
[ -n "${ORLIK_BENCH_CORE:-}" ] && pin=(taskset -c "$ORLIK_BENCH_CORE")
echo "$state, $count runs each; load average: $(cut -d' ' -f1-3 /proc/loadavg)"

# run NAME ARGS...: COUNT processes in a row under /usr/bin/time, which adds
# up their processor time; then one more alone for its peak memory. The wall
# time counts only on an idle machine; the processor time (user + system) is
# the steadier figure on a busy one. "%i" in an argument becomes the run's
# number: a file manager has every thumbnail written to a new file.
run() {
  local name=$1
  shift
  "$cli" "$@" >/dev/null 2>&1 || { echo "$name: orlik-cli $* failed" >&2; return 1; }
  /usr/bin/time -f "%e %U %S" -o "$work/loop" bash -c \
    'for ((i = 0; i < $0; i++)); do "${@//%i/$i}" >/dev/null 2>&1; done' "$count" "${pin[@]}" "$cli" "$@"
  /usr/bin/time -f "%M" -o "$work/rss" "$cli" "$@" >/dev/null 2>&1
  read -r wall user sys <"$work/loop"
  awk -v n="$count" -v w="$wall" -v u="$user" -v s="$sys" \
    -v kb="$(cat "$work/rss")" -v name="$name" \
    'BEGIN { printf "%-10s wall %6.2f ms  cpu %6.2f ms per process  peak %5.1f MiB\n", name, w / n * 1e3, (u + s) / n * 1e3, kb / 1024 }'
}

run version --version
run detect detect "$state"
run render render "$state" -o "$work/screen.png"
if "$cli" help | grep -q '^  thumbnail'; then
  run thumbnail thumbnail "$state" "$work/small-%i.png" 256
fi
