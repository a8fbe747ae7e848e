#!/usr/bin/env bash
# Checks the layering of the library in src/:
#   - no file includes a Qt header (the library builds without Qt);
#   - core/, the ground floor, includes nothing from the folders above it;
#   - the subsystems (cart, render, savestates, sound, tools) never include
#     app/, the composition layer that sits on top of them.
# Prints every offending line as FILE:LINE: text and exits 1 when there is one.
set -uo pipefail
cd "$(dirname "$0")/.."

failed=0
report() {
  # $1: what is wrong; stdin: grep -n output
  local title=$1 found
  found=$(cat)
  if [ -n "$found" ]; then
    echo "check-layers: $title:" >&2
    echo "$found" >&2
    failed=1
  fi
}

sources() { find "$@" -type f \( -name '*.h' -o -name '*.cpp' \) | sort; }

# Both spellings a Qt include takes: <QWidget>, <QtCore/QString>, "QFile".
report "Qt header included under src/" < <(sources src | xargs grep -nE \
  '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]Q' /dev/null)

report "src/core includes a folder above it" < <(sources src/core | xargs grep -nE \
  '^[[:space:]]*#[[:space:]]*include[[:space:]]*"(\.\./)?(app|cart|render|savestates|sound|tools)/' /dev/null)

report "a subsystem includes src/app" < <(sources src/cart src/render src/savestates src/sound src/tools |
  xargs grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"(\.\./)?app/' /dev/null)

[ $failed -eq 0 ] && echo "check-layers: ok"
exit $failed
