#!/usr/bin/env bash
# Renders every real emulator file through orlik-cli in every view and with
# the switches that change the composed screen, as BMP files (raw pixels, so
# that PNG encoder settings do not matter), and compares two such sets.
#
#   scripts/render-compare.sh make DIR      render into DIR (made afresh)
#   scripts/render-compare.sh compare A B   byte-for-byte comparison
#
# A change to the renderer that must not change pictures: make a set with the
# old tool, one with the new, then compare. ORLIK_CLI names the tool (default
# build/orlik-cli), ORLIK_FIXTURES the fixtures (default ../shared/fixtures).
set -euo pipefail
cd "$(dirname "$0")/.."

cli=${ORLIK_CLI:-build/orlik-cli}
fixtures=${ORLIK_FIXTURES:-../shared/fixtures}

# Name and options of each variant; the name becomes a folder.
variants=(
  "screen|--view screen"
  "screen8|--view screen8"
  "screen8-sub|--view screen8 --sub"
  "screen-nowin|--view screen --no-windows"
  "screen-nobright|--view screen --no-brightness"
  "screen-nomosaic|--view screen --ignore-mosaic"
  "screen-scale512|--view screen --scale512"
  "screen-blur|--view screen --blur"
  "screen-softblur|--view screen --soft-blur"
  "bg1|--view bg1" "bg2|--view bg2" "bg3|--view bg3" "bg4|--view bg4"
  "bg1-pri0|--view bg1 --priority 0 --transparency none"
  "bg2-pri1|--view bg2 --priority 1 --transparency col0"
  "sprites|--view sprites"
  "sprites-none|--view sprites --transparency none"
  "mode7|--view mode7"
  "mode7-ext|--view mode7 --ext --priority 1"
)

case "${1:-}" in
make)
  out=${2:?make needs a folder}
  [ -x "$cli" ] || { echo "$cli not found" >&2; exit 1; }
  rm -rf "$out"
  mkdir -p "$out"
  states=("$fixtures"/zsnes/*.zst "$fixtures"/snes9x/*.000)
  for v in "${variants[@]}"; do
    name=${v%%|*}
    # A view the mode lacks fails for that file; the others go on.
    # shellcheck disable=SC2086
    "$cli" render "${states[@]}" -o "$out/$name" --format bmp ${v#*|} 2>>"$out/errors.txt" || true
  done
  echo "$(find "$out" -name '*.bmp' | wc -l) pictures in $out"
  ;;
compare)
  a=${2:?compare needs two folders}
  b=${3:?compare needs two folders}
  if diff -r -q -x errors.txt "$a" "$b"; then
    echo "identical: $(find "$a" -name '*.bmp' | wc -l) pictures"
  else
    echo "the sets differ" >&2
    exit 1
  fi
  ;;
*)
  echo "usage: $0 make DIR | compare A B" >&2
  exit 2
  ;;
esac
