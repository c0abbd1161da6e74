#!/usr/bin/env bash
# Formats the C++ sources with the project's .clang-format.
#   tools/format.sh           rewrites every file that is off
#   tools/format.sh --check   changes nothing; lists the files that are off and fails if any is
# Covers the C++ files git tracks under src/, tests/ and bench/.
set -euo pipefail
cd "$(dirname "$0")/.."
clang_format=${CLANG_FORMAT:-clang-format}

mode=fix
case "${1:-}" in
    "") ;;
    --check) mode=check ;;
    *)
        echo "usage: tools/format.sh [--check]" >&2
        exit 2
        ;;
esac

mapfile -t files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
    'bench/*.cpp' 'bench/*.h')
if [ "$mode" = fix ]; then
    "$clang_format" -i --style=file "${files[@]}"
else
    "$clang_format" --dry-run --Werror --style=file "${files[@]}"
fi
