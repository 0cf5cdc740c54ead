#!/usr/bin/env bash
# tavo-cli without any program folder files: one line names what is missing and what it costs,
# --quiet prints nothing of it, and a real failure is still reported with exit code 1.
#   startup_notes_test.sh TAVO_CLI DEMO_FOLDER
set -uo pipefail
source "$(dirname "$0")/checks.sh"
export HOME=$work/home
unset XDG_CONFIG_HOME
cp -r "$2/server" "$work/server"
port_zero "$work/server"
mkdir -p "$work/bare"
cp "$1" "$work/bare/tavo-cli"
cli=$work/bare/tavo-cli
cli_args=(--data "$work/server")

run 0 info
check "one start-up line" test "$(wc -l <"$work/err")" -eq 1
check "what is missing and what it costs" grep -qE \
    '^Missing tavo.ini, cardprefixnametable.txt \(looked in .*/bare.*\): .*class, skill and map names; no card names\.$' \
    "$work/err"
check "the answer still comes" grep -q '^Tables loaded:$' <<<"$out"

run 0 --quiet info
check "nothing with --quiet" test ! -s "$work/err"
run 0 --quiet accounts
check "a listing with --quiet" test -n "$out"

cli_args=(--quiet --data "$work/nowhere")
run 1 info
check "a real failure is still told" grep -q 'No eAthena server folder' "$work/err"

[ "$failures" -eq 0 ] && echo "start-up notes: all checks passed"
exit "$failures"
