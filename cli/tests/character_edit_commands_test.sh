#!/usr/bin/env bash
# tavo-cli char set, char memo|skill|var, char delete and chars delete on a copy of the demo
# server: each refusal exits 1 with the window's message and writes nothing. Then deletions on a
# generated server leave no file naming a deleted character or account.
#   character_edit_commands_test.sh TAVO_CLI GEN_SERVER DEMO_FOLDER
set -uo pipefail
source "$(dirname "$0")/checks.sh"
demo_copy "$1" "$3"
demo=$3
save=$work/server/save

field() {  # field CHAR_ID N: field N (from 0) of the character's athena.txt line
    awk -F'\t' -v id="$1" -v n="$2" '$1 == id { print $(n + 1) }' "$save/athena.txt"
}
unchanged() {  # unchanged DESCRIPTION: athena.txt as it was copied, and no backup made
    check "$1: nothing written" cmp -s "$save/athena.txt" "$demo/server/save/athena.txt"
    check "$1: no backup" test ! -e "$save/athena.bak.txt"
}
said() {  # said TEXT: the message on stderr
    check "said: $1" grep -qxF "$1" "$work/err"
}

# Refusals first, each writing nothing.
run 1 char set 150000 name=Kaelbrew
said "Name is already in use, choose another."
run 1 char set 150000 name=abcdefghijklmnopqrstuvwx
said "A character name takes at most 23 bytes, not 24."
run 1 char set 150000 name=
said "A character needs a name of 1 to 23 bytes."
# What the window's digit-only boxes cannot hold is a usage error, as for every option.
run 2 char set 150000 last=prontera.gat,x,1
said "last is MAP,X,Y with X and Y in decimal digits: prontera.gat,x,1"
run 1 char set 150000 "last=prontera gat,1,1"
said "The last map \"prontera gat\" holds a comma, a blank, a TAB or a line break, which would break the character's line."
run 1 char set 150000 class=Dancer-ish
said "No class \"Dancer-ish\" in the job class list of tavo.ini."
run 1 char memo 150000 add "prontera.gat,156"
said "A memo point reads map_name.gat,x,y: a map name and two whole numbers, not \"prontera.gat,156\"."
run 1 char skill 150000 add Bash 5
said "That skill is already in his list."
run 1 char skill 150000 add "No Such Skill" 1
said "No skill \"No Such Skill\" in the skill list of tavo.ini."
run 1 char var 150000 add QUEST_WEDDING,2
said "That Quest/variable is already in his list."
run 1 char var 150000 add "QUEST X,2"
run 1 char var 150000 delete 0
said "Are you sure?"
run 1 char delete 150000
said "Are you sure?"
run 1 chars delete 2000001
run 1 chars delete 2000004
said "Account 2000004 has no characters."
unchanged "refusals"
run 0 char memo 150000 add izlude.gat,128,114
run 1 char memo 150000 add morocc.gat,156,93
said "The list is full: \"Add\" takes no more entries."

# A character stuck on a broken map goes back to its save point.
awk 'BEGIN { FS = OFS = "\t" } $1 == 150001 { $13 = "broken_map.gat,1,1" } 1' "$save/athena.txt" \
    >"$work/athena" && cp "$work/athena" "$save/athena.txt"
check "stuck" test "$(field 150001 12)" = "broken_map.gat,1,1"
run 0 char set 150001 last=geffen.gat,119,59 base_level=150 name=Kaelbrau
check "moved" test "$(field 150001 12)" = "geffen.gat,119,59"
check "capped and renamed" test "$(field 150001 3),$(field 150001 2)" = "10,99,45,Kaelbrau"
run 0 --json char 150001
check "json: the last position" grep -qF '"last": "geffen.gat,119,59"' <<<"$out"
for name in name class base_level job_level zeny str agi vit int dex luk stat_points \
    skill_points save last hair hair_color clothes_color guild_name party_name pet_name; do
    check "json names $name, as char set takes it" grep -qF "\"$name\": " <<<"$out"
done

run 0 char memo 150001 add izlude.gat,128,114
run 0 char skill 150001 add "Napalm Beat" 7
run 0 char var 150001 add QUEST_TAVO,7
run 0 --yes char var 150001 delete 0
check "lists" test "$(field 150001 14)|$(field 150001 17)|$(field 150001 18)" = \
    "alberta.gat,28,234izlude.gat,128,114|1,9 36,5 37,5 38,10 39,10 41,1 42,10 011,7 |QUEST_TAVO,7 "

run 0 --yes char delete 150008
check "the last party member takes the party" test -z "$(grep -F 'Lone Wolf' "$save/party.txt")"
run 0 --yes chars delete 2000001
check "no character of 2000001" test -z "$(awk -F'\t' '$2 ~ /^2000001,/' "$save/athena.txt")"
check "the counter stays" grep -q $'^170001\t%newid%' "$save/athena.txt"

# A generated server: one character, then all of an account's, then a whole account.
gen=$work/gen
"$2" --out "$gen" --accounts 40 --seed 3 >/dev/null || exit 1
port_zero "$gen"
friends() {  # a friends line: the character, then its friends' id,name pairs, 20 in all
    local line=$1 shift_count=0
    shift
    while [ $# -gt 0 ]; do line+=",$1,$2"; shift 2; shift_count=$((shift_count + 1)); done
    for _ in $(seq $((20 - shift_count))); do line+=",0,"; done
    printf '%s\n' "$line"
}
{
    friends 150002 150003 Brenn3 150011 Brenn11 150042 Aria42 150043 Gale43
    friends 150003 150002 Fenn2
    friends 150043 150042 Aria42
} >"$gen/save/friends.txt"
cli_args=(--data "$gen")
run 0 --yes char delete 150003            # a guild's master, on a GM account
run 0 --yes chars delete 704561           # two characters with pets
run 0 --yes account delete 2000019        # a party's leader
run 0 check
check "check finds nothing" test -z "$out"
check "friends moved up" test "$(head -c 30 "$gen/save/friends.txt")" = "150002,150043,Gale43,0,,0,,0,,"
for id in 150003 150011 150012 150042; do
    for file in athena party guild pet castle friends storage; do
        check "$file.txt names no $id" test -z "$(grep -wF "$id" "$gen/save/$file.txt")"
    done
done
for account in 704561 2000019; do
    check "athena.txt has no character of $account" \
        test -z "$(awk -F'\t' -v a="$account" 'index($2, a ",") == 1' "$gen/save/athena.txt")"
    check "storage.txt has no store of $account" test -z "$(grep "^$account," "$gen/save/storage.txt")"
    check "party.txt has no member of $account" test -z "$(grep -P "\t$account,[01]\t" "$gen/save/party.txt")"
done

[ "$failures" -eq 0 ] && echo "character edit commands: all checks passed"
exit "$failures"
