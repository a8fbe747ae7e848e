#!/usr/bin/env bash
# The installed file types: after installing into a temporary prefix and
# registering its mime description in a temporary data folder, the desktop's
# own query names our type for a file of each kind. Exit 77 (skipped) where
# the desktop tools are missing.
# usage: mime-test.sh CMAKE BUILD_DIR FIXTURES
set -euo pipefail
cmake=$1 build=$2 fixtures=${ORLIK_FIXTURES:-$3}
for t in xdg-mime update-mime-database gio; do command -v $t >/dev/null || { echo "no $t: skipped"; exit 77; }; done
[ -d "$fixtures/zsnes" ] || { echo "no fixtures: skipped"; exit 77; }
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
"$cmake" --install "$build" --prefix "$work/prefix" >/dev/null
for f in share/applications/orlik.desktop share/thumbnailers/orlik.thumbnailer share/icons/hicolor/scalable/apps/orlik.svg \
  share/icons/hicolor/16x16/apps/orlik.png share/icons/hicolor/256x256/apps/orlik.png; do
  [ -f "$work/prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
export XDG_DATA_HOME=$work/data XDG_DATA_DIRS=/usr/share XDG_CURRENT_DESKTOP=GNOME
mkdir -p "$XDG_DATA_HOME/mime/packages"
cp "$work/prefix/share/mime/packages/orlik.xml" "$XDG_DATA_HOME/mime/packages/"
update-mime-database "$XDG_DATA_HOME/mime"
cli=$work/prefix/bin/orlik-cli
zst=$(ls "$fixtures"/zsnes/*.zst | head -1)
cp "$zst" "$work/a.zs3"
cp "$(ls "$fixtures"/snes9x/*.000 | head -1)" "$work/a.042"
"$cli" convert "$zst" --to ssl -o "$work/a.s01" >/dev/null
"$cli" spc "$zst" -o "$work/a.spc" >/dev/null
printf 'GTSF' >"$work/a.sv1"
printf 'SMV\x1a\x04\0\0\0' >"$work/a.smv"
status=0
check() {
  local got
  got=$(xdg-mime query filetype "$1")
  [ "$got" = "$2" ] || { echo "$1: $got, expected $2"; status=1; }
}
check "$zst" application/x-zsnes-savestate
check "$work/a.zs3" application/x-zsnes-savestate
check "$work/a.042" application/x-snes9x-savestate
check "$(ls "$fixtures"/snes9x-modern/*.000 | head -1)" application/x-snes9x-savestate
check "$work/a.s01" application/x-super-sleuth-savestate
check "$work/a.sv1" application/x-snesgt-savestate
check "$work/a.spc" audio/x-spc
check "$work/a.smv" application/x-snes9x-movie
exit $status
