#!/usr/bin/env bash
# tavo-cli's account commands on a generated server: what they print, what they write and the
# exit codes (0 done, 1 failed, 2 usage).
#   account_commands_test.sh TAVO_CLI GEN_SERVER
set -uo pipefail
cli=$1
gen=$2
source "$(dirname "$0")/checks.sh"
server=$work/server
"$gen" --out "$server" --accounts 20 --gm-accounts 8 --seed 7 >/dev/null || exit 1
port_zero "$server"
accounts=$server/save/account.txt
cli_args=(--data "$server")

# Listing: every account, or those the find text matches; JSON on request.
run 0 accounts
check "20 accounts listed" test "$(printf '%s\n' "$out" | wc -l)" -eq 20
check "GM level shown" grep -q $'^704554\t[^\t]*\t[MF]\t99\t' <<<"$out"
run 0 accounts --find 2000003 --json
check "find by id" grep -q '"account_id": 2000003' <<<"$out"
# Digits find every id that holds them, as the find box narrows the list.
run 0 accounts --find 7045
check "ids holding the digits" test "$(cut -f1 <<<"$out")" = \
    "$(awk -F'\t' 'NF >= 7 && $1 ~ /7045/ { print $1 }' "$accounts")"
check "every GM id" test "$(wc -l <<<"$out")" -eq 8
# A character's name finds the account that owns it.
athena=$server/save/athena.txt
char_name=$(awk -F'\t' 'NF > 3 { print $3; exit }' "$athena")
owner=$(awk -F'\t' 'NF > 3 { split($2, a, ","); print a[1]; exit }' "$athena")
run 0 accounts --find "$char_name" --by-char
check "by character name" grep -q "^$owner"$'\t' <<<"$out"
run 0 account 704555
check "every field" grep -q $'^gm_level\t80$' <<<"$out"
run 1 account 12345
run 2 account

# Changing fields: the editor's checks, then the file written as Save File writes it.
run 0 account set 2000002 memo=moved sex=F
check "memo written" grep -q $'^2000002\t[^\t]*\t[^\t]*\t[^\t]*\tF\t.*\tmoved\t' "$accounts"
check "the file keeps its LF lines" test "$(tr -cd '\r' <"$accounts" | wc -c)" -eq 0
first=$(sed -n 's/^2000001\t\([^\t]*\)\t.*/\1/p' "$accounts")
run 1 account set 2000002 "userid=$first"
run 1 account set 2000002 $'memo=two\tfields'
run 2 account set 2000002 ban_until=soon
run 2 account set 2000002 colour=red
run 2 account set 2000002 sex=X
run 1 account set 0 memo=server
check "refused changes leave the file" grep -q $'\tmoved\t' "$accounts"

# A field longer than the window lets one type is refused with the window's message (the
# editor tests hold every field's limit), and nothing is written.
before=$(cat "$accounts")
run 1 account set 2000002 "memo=$(printf '%255s' | tr ' ' x)"
check "refused with the window's message" grep -qF "Memo takes at most 254 characters." "$work/err"
check "refused lengths leave the file" test "$(cat "$accounts")" = "$before"

# New accounts take the next ids; a GM's level goes into the GM file with the account.
run 0 account new newplayer secret
check "next player id" grep -q $'^2000008\tnewplayer\tsecret\t' "$accounts"
check "new id line" grep -q $'^2000009\t%newid%' "$accounts"
run 0 account new newgm secret --gm --level 50
check "GM level written" grep -q '^704562 50' "$server/conf/GM_account.txt"
run 1 account new newplayer other

# GM levels: read, and written inside a range without touching the others.
run 0 gm 704555
check "level read" test "$out" = 80
run 0 gm 704557 99
check "range split" grep -q $'^704558-704559 40$' "$server/conf/GM_account.txt"
run 0 gm 704557 --json
check "level as JSON" grep -q '"gm_level": 99' <<<"$out"
run 2 gm 704557 150

# The GM file may give players a level too, on their own line or by a range: it is shown, and
# changed without a false changed-on-disk refusal, for that account alone.
gm_file=$server/conf/GM_account.txt
printf '2000001 10\n2000003-2000005 20\n' >>"$gm_file"
run 0 account 2000001
check "a player's own line" grep -q $'^gm_level\t10$' <<<"$out"
run 0 account 2000004 --json
check "a player's range" grep -q '"gm_level": 20' <<<"$out"
run 0 gm 2000001 60
check "own line changed" grep -q '^2000001 60$' "$gm_file"
run 0 gm 2000004 30
check "range split around the player" test "$(grep '^200000[345]' "$gm_file")" = \
    "$(printf '2000003 20\n2000004 30\n2000005 20')"
run 0 gm 2000004
check "the new level reads back" test "$out" = 30

# Deletion asks "Are you sure?": without --yes nothing changes; with it the account leaves the
# account file, athena.txt, storage.txt and the GM file together.
gm_before=$(cat "$server/conf/GM_account.txt")
run 1 account delete 704562
check "no answer, no deletion" grep -q $'^704562\tnewgm\t' "$accounts"
check "GM file kept" test "$(cat "$server/conf/GM_account.txt")" = "$gm_before"
run 0 --yes account delete 704562
check "account gone" test -z "$(grep $'^704562\t' "$accounts")"
check "GM line gone" test -z "$(grep '^704562 ' "$server/conf/GM_account.txt")"
owner=$(cut -f2 "$server/save/athena.txt" | sed -n 's/^\(20000[0-9][0-9]\),.*/\1/p' | head -1)
run 0 --yes account delete "$owner"
check "characters gone" test -z "$(grep -P "\t$owner," "$server/save/athena.txt")"
check "store gone" test -z "$(grep "^$owner," "$server/save/storage.txt")"
run 1 --yes account delete "$owner"

# Without an account file, the version question needs --yes; nothing is written either way.
rm "$accounts"
run 1 accounts
run 0 --yes accounts
check "the five defaults" test "$(printf '%s\n' "$out" | wc -l)" -eq 5
check "no file written" test ! -e "$accounts"

[ "$failures" -eq 0 ] && echo "all account command checks passed"
exit "$failures"
