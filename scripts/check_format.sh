#!/usr/bin/env bash
# Fails, naming the files, when a C++ file of ours differs from the house style in .clang-format.
#   scripts/check_format.sh            # check
#   scripts/check_format.sh --fix      # reformat those files in place
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

formatter=$(command -v clang-format-14 || command -v clang-format || true)
[[ -n "$formatter" ]] || { echo "check_format: clang-format is not installed" >&2; exit 2; }

# The tracked files when this is a git checkout (a clean clone), else every C++ file below.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
else
    mapfile -t files < <(find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi

differing=()
for file in "${files[@]}"; do
    [[ -f "$file" ]] || continue
    "$formatter" --dry-run --Werror "$file" >/dev/null 2>&1 || differing+=("$file")
done

if ((${#differing[@]} == 0)); then
    echo "check_format: ${#files[@]} files in the house style"
    exit 0
fi
if [[ "${1:-}" == --fix ]]; then
    "$formatter" -i "${differing[@]}"
    echo "check_format: reformatted ${differing[*]}"
    exit 0
fi
echo "check_format: ${#differing[@]} files differ from .clang-format (scripts/check_format.sh --fix):" >&2
printf '  %s\n' "${differing[@]}" >&2
exit 1
