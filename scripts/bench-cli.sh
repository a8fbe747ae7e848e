#!/usr/bin/env bash
# Times orlik-cli over a folder of a few hundred savestates: "render" (a PNG
# of each screen) and "convert" (each state rewritten in another format).
# Prints files per second and the peak memory of each run.
#
#   scripts/bench-cli.sh [COUNT]      (default 300 files)
#
# The savestates are copies of the real emulator files (ORLIK_FIXTURES or
# ../shared/fixtures) and of the demo states beside the program, made in a
# temporary folder that is removed afterwards. ORLIK_CLI names the tool
# (default build/orlik-cli). Runs are pinned to one core when taskset exists
# (core 0, or ORLIK_BENCH_CORE).
set -euo pipefail
cd "$(dirname "$0")/.."

count=${1:-300}
cli=${ORLIK_CLI:-build/orlik-cli}
fixtures=${ORLIK_FIXTURES:-../shared/fixtures}
[ -x "$cli" ] || { echo "$cli not found: build first (scripts/build.sh)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time not found: run scripts/setup.sh" >&2; exit 1; }

sources=()
for f in "$fixtures"/zsnes/*.zst "$fixtures"/snes9x/*.000 resources/demo/* "$(dirname "$cli")"/demo/*; do
  case "$f" in *.zst|*.zs[1-9]|*.[0-9][0-9][0-9]|*.[sS][0-9][0-9]) [ -f "$f" ] && sources+=("$f") ;; esac
done
[ ${#sources[@]} -gt 0 ] || { echo "no savestates found (set ORLIK_FIXTURES)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/orlik-bench-cli.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/states"
for ((i = 0; i < count; i++)); do
  src=${sources[i % ${#sources[@]}]}
  cp "$src" "$work/states/$(printf '%04d' "$i")_$(basename "$src")"
done
echo "$count savestates made from ${#sources[@]} files in $work/states"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"

pin=()
command -v taskset >/dev/null && pin=(taskset -c "${ORLIK_BENCH_CORE:-0}")

# run NAME ARGS...: one timed run of the tool over every state.
run() {
  local name=$1
  shift
  local log="$work/$name.time"
  local status=0
  /usr/bin/time -v -o "$log" "${pin[@]}" "$cli" "$@" >"$work/$name.out" 2>"$work/$name.err" || status=$?
  local wall user sys rss
  wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$log" |
    awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; print s }')
  user=$(sed -n 's/.*User time (seconds): //p' "$log")
  sys=$(sed -n 's/.*System time (seconds): //p' "$log")
  rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$log")
  awk -v n="$count" -v name="$name" -v w="$wall" -v u="$user" -v s="$sys" -v r="$rss" -v st="$status" 'BEGIN {
    cpu = u + s
    printf "%-8s %5d files  wall %6.2f s  %7.1f files/s  cpu %6.2f s  %7.1f files/cpu-s  peak %6.1f MiB  exit %d\n",
      name, n, w, (w > 0 ? n / w : 0), cpu, (cpu > 0 ? n / cpu : 0), r / 1024, st }'
  if [ "$status" -ne 0 ]; then
    echo "  (some files failed; first messages:)"
    grep -v "Cartridge not found" "$work/$name.err" | head -3 | sed 's/^/  /'
  fi
}

run render render "$work"/states/* -o "$work/png"
if "$cli" help | grep -q '^  convert'; then
  run convert convert "$work"/states/* --to s9x -o "$work/converted/"
else
  echo "convert  (this orlik-cli has no convert command)"
fi
