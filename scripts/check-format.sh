#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format makes of it
# (the rules are in .clang-format) and lists those files. Only the files git
# tracks are looked at, so build folders and scratch files never count.
#
#   scripts/check-format.sh [FILE...]     (default: every tracked .cpp and .h
#                                          under src gui cli tests bench fuzz tools)
#
# CLANG_FORMAT names the tool (default clang-format). The rules are written
# for clang-format 14; another major version may lay some lines out
# differently, so the version is checked first.
set -euo pipefail
cd "$(dirname "$0")/.."

tool=${CLANG_FORMAT:-clang-format}
command -v "$tool" >/dev/null || { echo "$tool not found: run scripts/setup.sh" >&2; exit 2; }
version=$("$tool" --version | sed -n 's/.*version \([0-9]*\)\..*/\1/p')
if [[ $version != 14 ]]; then
  echo "$tool is version ${version:-unknown}; the rules are checked with clang-format 14" >&2
  exit 2
fi

if (( $# )); then
  files=("$@")
else
  mapfile -t files < <(git ls-files -- '*.cpp' '*.h' | grep -E '^(src|gui|cli|tests|bench|fuzz|tools)/')
fi

differ=()
for f in "${files[@]}"; do
  if ! "$tool" --style=file "$f" | cmp -s - "$f"; then
    differ+=("$f")
  fi
done

if (( ${#differ[@]} )); then
  echo "${#differ[@]} of ${#files[@]} files differ from clang-format's layout:" >&2
  printf '  %s\n' "${differ[@]}" >&2
  echo "format them with: $tool -i FILE..." >&2
  exit 1
fi
echo "all ${#files[@]} files are formatted"
