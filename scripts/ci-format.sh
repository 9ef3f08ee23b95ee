#!/usr/bin/env bash
# Checks that every tracked C++ file is laid out as .clang-format says (clang-format 14).
# Reformat with: git ls-files '*.h' '*.cpp' | xargs clang-format-14 -i
#   bash scripts/ci-format.sh
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/install-missing.sh

InstallMissing clang-format-14

mapfile -t files < <(git ls-files '*.h' '*.cpp')
[ ${#files[@]} -gt 0 ] || { echo "ci-format: no C++ files tracked" >&2; exit 1; }
if ! clang-format-14 --dry-run -Werror "${files[@]}"; then
    echo "ci-format: the files above are not formatted; run clang-format-14 -i on them" >&2
    exit 1
fi
echo "Format: ${#files[@]} files formatted."
