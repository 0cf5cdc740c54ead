#!/usr/bin/env bash
# tavo-cli stats, top and who-has on the hand-made world of testsupport/census_world (its
# README tells every figure), on an empty server and on a file that cannot be read.
#   overview_commands_test.sh TAVO_CLI DEMO_FOLDER WORLD_SAVE_FOLDER
set -uo pipefail
source "$(dirname "$0")/checks.sh"
demo_copy "$1" "$2"
rm -rf "$work/server/save" && cp -r "$3" "$work/server/save" || exit 1
cli_args=(--data "$work/server")
json() { python3 -c "import json,sys; d=json.load(sys.stdin); print($1)" <<<"$out"; }

run 0 stats
check "accounts" grep -qx '  Players: 6' <<<"$out"
check "months and never" diff <(sed -n '/by month/,/Never/p' <<<"$out") <(printf '%s\n' \
    '  Players by month of last login' '    Month    Count' '    2004-05  2' '    2004-06  1' \
    '    2004-07  2' '    Never    1')
check "banned and expired" grep -qx '    Banned           2' <<<"$out"
check "expired" grep -qx '    Expired          1' <<<"$out"
check "classes by name" grep -qx '    Lord Knight    1' <<<"$out"
check "job families" grep -qx '    Swordman      3' <<<"$out"
check "level groups" grep -qx '    90-99       2' <<<"$out"
check "zeny" grep -qx '  Zeny in circulation: 2,000,601' <<<"$out"
check "median" grep -qx '  Median zeny of a character: 250.5' <<<"$out"
check "top 1%" grep -qx '  Held by the richest 1% (1 character): 1,000,000 (50.0%)' <<<"$out"
check "castles" grep -qx '    Kriemhild       Green Thumbs  10002' <<<"$out"
check "party sizes" grep -qx '    3        1' <<<"$out"
check "damaged lines named" grep -qx \
    '2 line(s) could not be read and are not counted: save/athena.txt:5 save/account.txt:9' \
    "$work/err"

run 0 --json stats
check "JSON figures" test "$(json "d['accounts']['by_month'], d['accounts']['banned'], \
d['characters']['by_family'][1], d['economy']['zeny'], d['economy']['median'], \
d['economy']['top_percent'], [c['name'] for c in d['guilds']['castles']], \
d['parties']['by_members'], d['unreadable']['count'], d['complete']")" = \
    "[{'count': 2, 'month': '2004-05'}, {'count': 1, 'month': '2004-06'}, {'count': 2, 'month': '2004-07'}] 2 {'count': 3, 'family': 'Swordman'} 2000601 250.5 {'characters': 1, 'zeny': 1000000} ['Neuschwanstein', 'Kriemhild'] [{'count': 1, 'members': 1}, {'count': 1, 'members': 3}] 2 True"

# Equal zeny ranks the lower id first.
run 0 top zeny
check "top zeny" test "$out" = "#  Character  Id      Account  Zeny
1  Aria       150000  2000000  1,000,000
2  Dara       150003  2000002  1,000,000
3  Brom       150001  2000000  300
4  Finn       150005  2000005  201
5  Cale       150002  2000001  50
6  Eve        150004  2000004  50"
run 0 top zeny --by account
check "top accounts" test "$out" = "#  Account  Id       Characters  Zeny
1  alice    2000000  2           1,000,300
2  carol    2000002  1           1,000,000
3  frank    2000005  1           201
4  bob      2000001  1           50
5  erin     2000004  1           50"
run 0 top level --n 2
check "top level" test "$(tail -n +2 <<<"$out" | awk '{print $3, $5}')" = "150001 99/70
150000 90/50"
run 0 --json top exp --by account --n 2
check "JSON top exp by account" test "$(json "[(r['id'], r['base_exp'], r['characters']) for r in d['ranking']]")" = \
    "[(2000000, 6000, 2), (2000002, 2000, 1)]"
run 2 top gold
check "an unknown ranking is a usage error" grep -q 'gold' "$work/err"

run 0 who-has 501
check "who-has" test "$out" = "62 Red Potion (501) in circulation: 20 in inventories, 5 in carts, 30 in stores, 7 in guild storages; 5 holding(s).
Place          Holder       Id       Count  Item
Store          bob          2000001  30     30 pcs Red Potion
Inventory      Aria         150000   10     10 pcs Red Potion
Inventory      Dara         150003   10     10 pcs Red Potion
Guild storage  Iron Wolves  10001    7      7 pcs Red Potion
Cart           Brom         150001   5      5 pcs Red Potion"
run 0 who-has Knife
check "the full name, with its smith" grep -q "1 pc +3 Very Strong Dara's Fire Knife \[3\]$" <<<"$out"
run 0 --json who-has "Poring Egg"
check "JSON who-has" test "$(json "d['item'], d['total'], [(h['place'], h['holder'], h['text']) for h in d['holders']]")" = \
    "9001 1 [('inventory', 150005, \"1 pc Poring Egg 'Pudding'\")]"
run 0 --json who-has 501
check "JSON who-has, the holders printed one by one" \
    test "$(json "d['total'], d['complete'], [(h['holder'], h['amount']) for h in d['holders']]")" = \
    "62 True [(2000001, 30), (150000, 10), (150003, 10), (10001, 7), (150001, 5)]"
run 1 who-has "No Such Thing"
check "an unknown name" grep -q 'No item "No Such Thing"' "$work/err"

# An empty server: empty results, exit 0.
for file in "$work"/server/save/*; do : >"$file"; done
run 0 stats
check "empty stats" grep -qx '  Characters: 0' <<<"$out"
run 0 --json top zeny
check "empty ranking" test "$(json "d['ranking']")" = "[]"
run 0 who-has 501
check "nobody holds it" test "$(head -1 <<<"$out")" = \
    "0 Red Potion (501) in circulation: 0 in inventories, 0 in carts, 0 in stores, 0 in guild storages; 0 holding(s)."
run 0 --json who-has 501
check "nobody holds it, in JSON" test "$(json "d['total'], d['holders']")" = "0 []"

# A file that cannot be read: the figures say which, and the command fails.
rm "$work/server/save/athena.txt" && mkdir "$work/server/save/athena.txt"
run 1 stats
check "incomplete, naming the file" grep -q '^Incomplete: save/athena.txt could not be read' "$work/err"

[ "$failures" -eq 0 ] && echo "overview commands: all checks passed"
exit "$failures"
