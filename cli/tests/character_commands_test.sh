#!/usr/bin/env bash
# tavo-cli's character commands on a copy of the demo server, with tavo-cli in a copy of the
# demo's program folder (tavo.ini, card tables): what they print and their exit codes.
#   character_commands_test.sh TAVO_CLI DEMO_FOLDER
set -uo pipefail
source "$(dirname "$0")/checks.sh"
demo_copy "$1" "$2"

run 0 chars 2000001
check "the chooser entries" test "$out" = "ID: 150000, Slot: 0, Kaelen, <Knight>
ID: 150001, Slot: 1, Kaelbrew, <Blacksmith>"
run 0 chars 0
check "a server account has no characters" test -z "$out"
run 0 char 150001
check "profile" grep -q '^Class: Blacksmith$' <<<"$out"
check "weight caption" grep -qF '[Cart Weight : 281/8000] [Count : 4/100]' <<<"$out"
check "forged by a smith above 163839" grep -qF "Very Very Strong Hammerhand's Wind Flamberge" <<<"$out"
run 0 --json char 150002
check "JSON lines" grep -qF "Poring Egg 'Pudding'" <<<"$out"
run 0 guild 10001
check "guild name" test "$out" = "Iron Wolves"
run 0 party 0
check "no party" test "$out" = "No Party"
run 0 pet 7
check "unknown pet" test "$out" = "No Name [7]"
run 1 char 999999
run 2 chars
check "nothing written" test -z "$(ls "$work/server/save" | grep bak)"

[ "$failures" -eq 0 ] && echo "character commands: all checks passed"
exit "$failures"
