#!/usr/bin/env bash
# Fails, naming each one, when a file path or a code name written in backticks in the maps a
# newcomer reads first (docs/ARCHITECTURE.md, CONTRIBUTING.md) is not in the tree: a path must
# exist, a code name must occur as a word in some source file. Fenced blocks (commands) and
# texts with blanks are passed over, as are options, settings and absolute paths.
#   scripts/check_maps.sh [MAP...]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
maps=("$@")
((${#maps[@]} > 0)) || maps=(docs/ARCHITECTURE.md CONTRIBUTING.md)

# The files a code name may occur in: code, build files and scripts, not the prose.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t sources < <(git ls-files -- '*.cpp' '*.h' '*.in' '*.cmake' '*CMakeLists.txt' '*.sh' '*.py')
else
    mapfile -t sources < <(find . -path './build*' -prune -o -type f \( -name '*.cpp' -o -name '*.h' \
        -o -name '*.in' -o -name '*.cmake' -o -name CMakeLists.txt -o -name '*.sh' -o -name '*.py' \) -print)
fi
((${#sources[@]} > 0)) || { echo "check_maps: no source files found" >&2; exit 2; }

occurs() { grep -qwF -e "$1" -- "${sources[@]}"; }

# Each backticked text outside fenced blocks, as "file:line<TAB>text".
names() {
    awk '
        /^```/ { fenced = !fenced; next }
        fenced { next }
        {
            line = $0
            while (match(line, /`[^`]+`/)) {
                printf "%s:%d\t%s\n", FILENAME, FNR, substr(line, RSTART + 1, RLENGTH - 2)
                line = substr(line, RSTART + RLENGTH)
            }
        }' "$@"
}

false_claims=()
checked=0
while IFS=$'\t' read -r place text; do
    case $text in
        *' '* | -* | /* | '~'* | '$'* | *=* | *'('[0-9]')') continue ;;  # commands, options, runtime paths, man pages
    esac
    checked=$((checked + 1))
    if [[ $text == */* || $text == .* || $text =~ \.(cpp|h|md|sh|txt|cmake|json|in|svg|png)$ ]]; then
        # A path, relative to the top; a trailing ".*" stands for a header and its source.
        path=${text%/}
        if [[ $path == *'.*' ]]; then
            compgen -G "$path" >/dev/null || false_claims+=("$place: no file $text")
        elif [[ ! -e $path ]] && ! occurs "$path"; then
            # Not in the tree: it may still be a file the build or the game writes by that name.
            false_claims+=("$place: no path $text")
        fi
        continue
    fi
    # A code name: every part of A::B or A->B, without a call's parentheses, occurs as a word.
    name=${text%'()'}
    name=${name%%(*}
    for part in ${name//::/ }; do
        part=${part//->/ }
        for word in $part; do
            occurs "$word" || false_claims+=("$place: no code name $word (in \`$text\`)")
        done
    done
done < <(names "${maps[@]}")

if ((${#false_claims[@]} > 0)); then
    echo "check_maps: ${#false_claims[@]} names in the maps are not in the tree:" >&2
    printf '  %s\n' "${false_claims[@]}" >&2
    exit 1
fi
echo "check_maps: ${checked} names in ${maps[*]} found in the tree"
