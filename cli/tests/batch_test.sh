#!/usr/bin/env bash
# tavo-cli batch on a copy of the demo server: fifty edits across accounts, characters and
# stores written once and read back; a refusal or --dry-run writes nothing; and a command run
# on its own, which reads only up to its record, answers as the batch's session does, which
# reads every file whole.
#   batch_test.sh TAVO_CLI DEMO_FOLDER
set -uo pipefail
source "$(dirname "$0")/checks.sh"
demo_copy "$1" "$2"
save=$work/server/save
conf=$work/server/conf
cli_args=(--data "$work/server")
files() { cat "$save/account.txt" "$save/athena.txt" "$save/storage.txt" "$conf/GM_account.txt"; }
unchanged() {  # nothing written since $work/before was taken, and no backup made
    files | cmp -s - "$work/before" && ! ls "$save" | grep -q bak
}

# Lazily and fully loaded: the same output, for records the file holds twice too.
grep -P '^704555\t' "$save/account.txt" | sed 's/Fjord42/other/' >>"$save/account.txt"
grep -P '^150001\t' "$save/athena.txt" | sed 's/\tKaelbrew\t/\tKaelbrew2\t/' >>"$save/athena.txt"
grep '^2000002,' "$save/storage.txt" | sed 's/,713,900,/,713,901,/' >>"$save/storage.txt"
for command in "account 704555" "account 2000021" "account 1234" "gm 704555" "gm 2000001" \
    "char 150001" "char 150009" "char 999999" "chars 2000001" "storage 2000002" \
    "storage 2000004" "storage 1234"; do
    read -ra words <<<"$command"
    "$cli" "${cli_args[@]}" --json "${words[@]}" >"$work/alone" 2>/dev/null
    alone=$?
    "$cli" "${cli_args[@]}" --json batch - <<<"$command" >"$work/batch" 2>/dev/null
    whole=$?
    check "$command: exit code $alone alone, $whole in a batch" test $alone -eq $whole
    if [ $alone -eq 0 ]; then
        check "$command: the same output" \
            cmp -s <(cat "$work/alone") <(jq '.applied[0].output' "$work/batch")
    fi
done
cp -r "$2/server/save/." "$save/"

# Fifty edits: 20 accounts, 13 stores, 5 GM levels, 12 edits of two characters.
{
    echo "# the memo of every player, a store for ten of them"
    for i in $(seq 1 20); do printf 'account set %d memo=batch%d\n' $((2000000 + i)) "$i"; done
    for i in $(seq 3 13); do printf 'item add --storage %d 501 --qty %d\n' $((2000000 + i)) "$i"; done
    echo "item edit --storage 2000001 0 --qty 7"
    echo "item edit --storage 2000002 0 --qty 8"
    for i in $(seq 13 17); do printf 'gm %d %d\n' $((2000000 + i)) $((i - 10)); done
    echo
    for i in $(seq 1 6); do
        printf 'item edit --char 150000 7 --qty %d\n' "$i"
        printf 'item edit --char 150001 1 --qty %d\n' $((i + 10))
    done
} >"$work/batch.txt"
check "fifty commands" test "$(grep -cv '^#\|^$' "$work/batch.txt")" -eq 50

files >"$work/before"
sed '37s/.*/item edit --char 150001 9 --qty 1/' "$work/batch.txt" >"$work/refused.txt"
run 1 batch "$work/refused.txt"
check "the refusal names line 37" grep -qF "stopped at line 37: nothing was written" "$work/err"
check "a refusal writes nothing" unchanged
run 1 --yes batch - <<<"gm 2000001 3
account delete 2000003"
check "a command that writes at once stops the batch" unchanged

run 0 --json batch --dry-run "$work/batch.txt"
check "--dry-run writes nothing" unchanged
check "--dry-run applies all fifty" test "$(jq '.applied | length' <<<"$out")" -eq 50
check "--dry-run in the JSON" test "$(jq '.written | length' <<<"$out")" -eq 0

run 0 batch "$work/batch.txt"
check "each file written once" grep -qF "50 command(s) applied; written: save/account.txt, conf/GM_account.txt, save/athena.txt, save/storage.txt." "$work/err"
for i in 1 11 20; do
    run 0 --json account $((2000000 + i))
    check "memo of account $i" test "$(jq -r .memo <<<"$out")" = "batch$i"
done
run 0 storage 2000012
check "a new store" grep -qF "12 pcs Red Potion" <<<"$out"
run 0 storage 2000001
check "an edited store" grep -qF "7 pcs Red Potion" <<<"$out"
run 0 storage 2000002
check "another edited store" grep -qF "8 pcs Empty Bottle" <<<"$out"
run 0 gm 2000017
check "GM level" test "$out" = 7
run 0 char 150000
check "the last edit of a character wins" grep -qF "6 pcs Red Potion" <<<"$out"
run 0 char 150001
check "another character" grep -qF "16 pcs Red Potion" <<<"$out"

exit $((failures > 0))
