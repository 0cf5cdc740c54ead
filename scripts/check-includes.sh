#!/usr/bin/env bash
# The direction of includes, which the compiler does not check:
#   - no Qt header and nothing of ui/ in any core folder or in cli/;
#   - no core folder including a folder above it in
#     app → refdata → accounts → characters → items → charlists, storage → wipe → workspace → editors
#     (charlists and storage stand side by side and include neither the other).
# Only folders that exist are looked at; files not yet committed count too.
set -uo pipefail
cd "$(dirname "$0")/.."

core=(app refdata accounts characters items charlists storage wipe workspace editors)
existing=()
for dir in "${core[@]}" cli; do [ -d "$dir" ] && existing+=("$dir"); done

problems=0
pattern='^[[:space:]]*#[[:space:]]*include'
includes() {  # every #include line of the given folders: file:line:text
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git grep --untracked -n -E "$pattern" -- "${@/%//}"
    else
        grep -rnE "$pattern" --include='*.h' --include='*.cpp' "$@"
    fi
}

while IFS= read -r hit; do
    echo "Qt or ui/ included outside the window: $hit"
    problems=$((problems + 1))
done < <(includes "${existing[@]}" | grep -E '#[[:space:]]*include[[:space:]]*(<Q|"ui/)')

# One pass over every include line: the folder of the file against the folder it includes.
upward=$(includes "${existing[@]}" | awk '
    BEGIN {
        split("app refdata accounts characters items charlists storage wipe workspace editors", order, " ")
        for (i in order) rank[order[i]] = i
        rank["storage"] = rank["charlists"]  # side by side
    }
    {
        from = $0; sub(/\/.*/, "", from)
        if (!match($0, /#[[:space:]]*include[[:space:]]*"[^"\/]+\//)) next
        target = substr($0, RSTART, RLENGTH - 1); sub(/.*"/, "", target)
        if (!(from in rank) || !(target in rank) || from == target) next
        if (rank[target] + 0 >= rank[from] + 0) print from "/ includes " target "/, which is not below it: " $0
    }')
if [ -n "$upward" ]; then
    echo "$upward"
    problems=$((problems + $(wc -l <<<"$upward")))
fi

if [ "$problems" -gt 0 ]; then
    echo "$problems include(s) against the direction of the layers." >&2
    exit 1
fi
echo "includes follow the layers"
