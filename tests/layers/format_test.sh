#!/usr/bin/env bash
# Every C++ source and header of the tree is formatted as .clang-format says.
#   format_test.sh CLANG_FORMAT SOURCE_DIR
set -euo pipefail
clang_format=$1
cd "$2"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
else
    mapfile -t files < <(find core gui apps tools tests bench fuzz -name '*.cpp' -o -name '*.h')
fi
[ "${#files[@]}" -gt 0 ] || { echo "FAIL: no C++ files found"; exit 1; }
if ! "$clang_format" --dry-run -Werror "${files[@]}"; then
    echo "FAIL: run: clang-format -i on the files named above"
    exit 1
fi
echo "${#files[@]} files formatted"
