#!/usr/bin/env bash
# Checks that C++ files are as clang-format writes them with the root .clang-format, and names
# each one that is not. Exits 1 when any is not, 2 when clang-format is missing.
#   tests/format_check.sh [file...]    default: every C++ file git tracks
#   clang-format -i FILE               puts one right
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
CLANG_FORMAT="${CLANG_FORMAT:-clang-format}"
command -v "$CLANG_FORMAT" >/dev/null || { echo "format: $CLANG_FORMAT is missing" >&2; exit 2; }

if (($#)); then
  files=("$@")
elif git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
else
  mapfile -t files < <(find src tests tools -name '*.cpp' -o -name '*.h' | sort)
fi

unformatted=0
for f in "${files[@]}"; do
  if ! "$CLANG_FORMAT" --dry-run --Werror "$f" >/dev/null 2>&1; then
    echo "format: $f is not clang-format clean (clang-format -i $f)"
    unformatted=$((unformatted + 1))
  fi
done
echo "format: ${#files[@]} files checked, $unformatted not clean"
((unformatted == 0))
