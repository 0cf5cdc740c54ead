#!/usr/bin/env bash
# The direction of includes, which the compiler does not check:
#   - no Qt header and nothing of ui/ in any core folder or in cli/;
#   - no core folder including a folder that is not below it in
#       app → check, refdata → accounts → characters → items → storage → census, export
#       → workspace → pages
#     (check and refdata stand side by side and include neither the other, so check/ uses app/
#     alone; so do census and export);
#   - no two core files depending on each other in a circle, inside a folder too: a.cpp or a.h
#     including b.h while b.cpp or b.h includes a.h, directly or through other files.
# Only folders that exist are looked at; files not yet committed count too.
set -uo pipefail
cd "$(dirname "$0")/.."

order="app check refdata accounts characters items storage census export workspace pages"
core=()
for dir in $order; do [ -d "$dir" ] && core+=("$dir"); done

problems=0
pattern='^[[:space:]]*#[[:space:]]*include'
includes() {  # every #include line of the given folders: file:line:text
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git grep --untracked -n -E "$pattern" -- "${@/%//}"
    else
        grep -rnE "$pattern" --include='*.h' --include='*.cpp' "$@"
    fi
}
report() {  # counts and prints the lines of a finding, if any
    [ -z "$1" ] && return
    echo "$1"
    problems=$((problems + $(wc -l <<<"$1")))
}

report "$(includes "${core[@]}" cli | grep -E '#[[:space:]]*include[[:space:]]*(<Q|"ui/)' |
    sed 's/^/Qt or ui\/ included outside the window: /')"

# One pass over every include line of the core: the folder of the file against the folder it
# includes, then every file against the files it includes, for the circles.
core_includes=$(includes "${core[@]}" | awk '
    BEGIN {
        rank["app"] = 1; rank["check"] = 2; rank["refdata"] = 2; rank["accounts"] = 3
        rank["characters"] = 4; rank["items"] = 5; rank["storage"] = 6; rank["census"] = 7
        rank["export"] = 7; rank["workspace"] = 8; rank["pages"] = 9
        rank["workspace"] = 8; rank["pages"] = 9
    }
    {
        from_file = $0; sub(/:.*/, "", from_file)
        from = from_file; sub(/\/.*/, "", from)
        if (!match($0, /#[[:space:]]*include[[:space:]]*"[^"\/]+\/[^"]+"/)) next
        target_file = substr($0, RSTART, RLENGTH - 1); sub(/.*"/, "", target_file)
        target = target_file; sub(/\/.*/, "", target)
        if (!(from in rank) || !(target in rank)) next
        print "edge " module(from_file) " " module(target_file)
        if (from == target) next
        if (rank[target] < rank[from]) next
        if (from == "check") print "check/ uses app/ alone, but includes " target "/: " $0
        else print from "/ includes " target "/, which is not below it: " $0
    }
    # A file and its header are one: accounts/account_read.cpp and .h are accounts/account_read.
    function module(path) { sub(/\.(h|cpp)$/, "", path); return path }')
report "$(grep -v '^edge ' <<<"$core_includes")"

# The circles: the strongly connected parts of the graph of files with more than one file.
circles=$(grep '^edge ' <<<"$core_includes" | awk '
    { if ($2 != $3 && !seen[$2 " " $3]++) { out[$2] = out[$2] " " $3; node[$2]; node[$3] } }
    function visit(v,    i, n, list, w, count, members, circle) {
        index_of[v] = low[v] = ++counter
        stack[++top] = v; on_stack[v] = 1
        n = split(out[v], list, " ")
        for (i = 1; i <= n; i++) {
            w = list[i]
            if (!(w in index_of)) {
                visit(w)
                if (low[w] < low[v]) low[v] = low[w]
            } else if (on_stack[w] && index_of[w] < low[v]) {
                low[v] = index_of[w]
            }
        }
        if (low[v] != index_of[v]) return
        count = 0
        do {
            w = stack[top--]; on_stack[w] = 0
            for (i = ++count; i > 1 && members[i - 1] > w; i--) members[i] = members[i - 1]
            members[i] = w
        } while (w != v)
        if (count < 2) return
        circle = members[1]
        for (i = 2; i <= count; i++) circle = circle (i < count ? ", " : " and ") members[i]
        print circle " include each other" (count > 2 ? " in a circle" : "")
    }
    END { for (v in node) if (!(v in index_of)) visit(v) }' | sort)
report "$circles"

if [ "$problems" -gt 0 ]; then
    echo "$problems include(s) against the layers or in a circle." >&2
    exit 1
fi
echo "includes follow the layers"
