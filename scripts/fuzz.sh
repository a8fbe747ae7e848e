#!/usr/bin/env bash
# Builds the libFuzzer harnesses (build-fuzz/, clang with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS (default 30) on a seed
# corpus gathered from the tests, the resources and the real emulator fixtures.
# Fails when any harness finds a crash, a hang, a leak or an oversized
# allocation; the input that did it is kept in build-fuzz/findings/.
#
#   scripts/fuzz.sh [--no-build] [SECONDS] [HARNESS...]
#
# HARNESS names are the executables without "fuzz_" (ini, gunzip,
# savestate_zst, ...). ORLIK_FUZZ_CORPUS=DIR keeps the grown corpora in DIR
# between runs; ORLIK_FIXTURES names the fixtures folder.
set -euo pipefail

# The seed files of one harness (globs that match nothing are dropped);
# reads $fixtures and $work.
seeds() {
  local s=() t=tests/data r=resources f=$fixtures
  shopt -s nullglob nocaseglob
  case $1 in
    ini)           s=(fuzz/seeds/ini/* $t/*.ini) ;;
    gunzip)        s=($f/snes9x/*.000 $t/*.gz $t/*.[0-9][0-9][0-9] $t/*.smv) ;;
    savestate_zst) s=($f/zsnes/*.zs[t1-9] $r/*.zs[t1-9] $t/*.zs[t1-9]) ;;
    savestate_zmv) s=($f/zsnes/*.zm[v1-9] $r/*.zm[v1-9] $t/*.zm[v1-9] $f/zsnes/*hello*.zst) ;;
    savestate_s9x) s=($f/snes9x/*.[0-9][0-9][0-9] $r/*.[0-9][0-9][0-9] $t/*.[0-9][0-9][0-9]
                      $f/snes9x-modern/*.000 $f/snes9x-modern/retroarch/*.state) ;;
    savestate_ssl) s=($r/*.s[0-9][0-9] $t/*.s[0-9][0-9]) ;;
    cart)          s=($t/*.sfc $t/*.smc) ;;
    cartzip)       s=($t/*.zip) ;;
    ips)           s=($t/*.ips) ;;
    spc)           s=($t/*.spc $r/*.spc) ;;
    smv)           s=($t/*.smv $r/*.smv) ;;
    registerfile)  s=($r/SNES.txt) ;;
    savestate_sgt) s=($r/*.sv[0-9] $t/*.sv[0-9]) ;;
    palette)       s=($t/*.pal) ;;
    codepage)      s=($t/*.png $t/*.bmp) ;;
  esac
  s+=(fuzz/seeds/"$1"/* "$work/generated/$1"/*)
  shopt -u nullglob nocaseglob
  (( ${#s[@]} )) && printf '%s\n' "${s[@]}" | sort -u
  return 0
}

# All of the work happens in main, which bash has read whole before it
# starts: editing the script while it runs cannot change a running fuzz.
main() {
  cd "$(dirname "$0")/.."
  root=$PWD

  build=1
  if [[ ${1:-} == --no-build ]]; then build=0; shift; fi
  secs=${1:-30}
  shift || true
  only=("$@")

  dir=${ORLIK_FUZZ_BUILD:-build-fuzz}
  if (( build )); then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORLIK_FUZZ=ON -DORLIK_GUI=OFF -DORLIK_TESTS=OFF \
      -DORLIK_BENCH=OFF -DORLIK_WERROR=OFF >/dev/null
    nice cmake --build "$dir" -j2
  fi

  fixtures=${ORLIK_FIXTURES:-$root/../shared/fixtures}
  # The harnesses write every input to a file for the readers to open: keep
  # that in memory (tmpfs) when the machine has it, a disk would set the pace.
  scratch=${TMPDIR:-/tmp}
  [[ -d /dev/shm && -w /dev/shm ]] && scratch=/dev/shm
  work=$(mktemp -d "$scratch/orlik-fuzz.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  mkdir -p "$dir/findings"
  shopt -s nullglob
  # Real frames: movie quicksaves, and picture harness inputs of the modes
  # with offset-per-tile, mosaic and hires.
  s9x_states=("$fixtures"/snes9x/{m0_helloworld,m1_cm_add_half,m2_opt,m4_opt,m5_mosaic,m6_opt_hires}.000)
  shopt -u nullglob
  "$dir"/fuzz/orlik_fuzz_seeds "$work/generated" "${s9x_states[@]}"

  failed=()
  summary=()
  for exe in "$dir"/fuzz/fuzz_*; do
    [[ -x $exe && -f $exe ]] || continue
    name=${exe##*/fuzz_}
    if (( ${#only[@]} )) && [[ " ${only[*]} " != *" $name "* ]]; then continue; fi
    corpus=${ORLIK_FUZZ_CORPUS:+$ORLIK_FUZZ_CORPUS/$name}
    corpus=${corpus:-$work/corpus-$name}
    mkdir -p "$corpus" "$work/tmp-$name"
    while IFS= read -r seed; do
      [[ -n $seed ]] && cp -f "$seed" "$corpus/seed-$(basename "$(dirname "$seed")")-$(basename "$seed")"
    done < <(seeds "$name")
    extra=()
    # The full description file is 180 KB; its rows are line by line, so the
    # first 16 KB of it explore the same code far faster.
    [[ $name == registerfile ]] && extra=(-max_len=16384)
    log=$work/$name.log
    echo "== $name: $secs s on $(ls "$corpus" | wc -l) inputs"
    rc=0
    # One process on one core; a single allocation above 512 MiB is a finding
    # (no input of ours needs more than the 64 MiB bounds).
    ORLIK_FUZZ_TMP="$work/tmp-$name" nice "$exe" -max_total_time="$secs" -timeout=10 -rss_limit_mb=2048 \
      -malloc_limit_mb=512 -dict=fuzz/orlik.dict -print_final_stats=1 \
      -artifact_prefix="$dir/findings/$name-" "${extra[@]}" "$corpus" >"$log" 2>&1 || rc=$?
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1 || true)
    cov=$( (grep -Eo 'cov: [0-9]+ ft: [0-9]+' "$log" || true) | tail -1)
    summary+=("$(printf '%-16s %10s execs  %s' "$name" "${execs:-?}" "${cov:-?}")")
    if (( rc != 0 )); then
      failed+=("$name")
      echo "!! $name found a fault (exit $rc); input kept in $dir/findings/" >&2
      tail -60 "$log" >&2
    fi
  done

  printf '%s\n' "${summary[@]}"
  if (( ${#failed[@]} )); then
    echo "fuzzing found faults in: ${failed[*]}" >&2
    exit 1
  fi
}

main "$@"
