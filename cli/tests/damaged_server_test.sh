#!/usr/bin/env bash
# tavo-cli on damaged copies of the demo server: no command loses a byte it was not meant to
# change, a file that could not be read is never written over, and an error exits 1.
#   damaged_server_test.sh TAVO_CLI DEMO_FOLDER
set -uo pipefail
built_cli=$1
demo=$2
here=$(dirname "$0")
source "$here/checks.sh"
source "$here/../../testsupport/damage.sh"

copy=$work/copy
accounts=server/save/account.txt
gm_file=server/conf/GM_account.txt
athena=server/save/athena.txt
# fresh KIND: a new damaged copy, with its snapshot in $work/before.
fresh() {
    rm -rf "$copy"
    damage_demo "$demo" "$copy" "$1" "$built_cli" || exit 1
    snapshot "$copy" >"$work/before"
    cp -p "$copy/$accounts" "$work/accounts.before" 2>/dev/null
}
# on EXPECTED ARGS...: tavo-cli on the copy, as a plain user (so mode 000 means unreadable).
on() {
    local expected=$1
    shift
    cli=as_plain_user
    cli_args=("$copy" "$copy/program/tavo-cli" --data "$copy/server")
    run "$expected" "$@"
}
kept() {  # kept WHAT [FILE...]: nothing changed but the files named
    local what=$1
    shift
    check "$what" unchanged_except "$copy" "$work/before" "$@"
}

# Every read command on every kind of damage: nothing is written, whatever the exit code.
reads=("info" "items" "skills" "accounts" "gm 704554" "char 150000" "guild 10001" "pet 7")
for kind in $(damage_kinds); do
    fresh "$kind"
    for command in "${reads[@]}"; do
        # shellcheck disable=SC2086
        as_plain_user "$copy" "$copy/program/tavo-cli" --data "$copy/server" --yes $command \
            >/dev/null 2>&1
    done
    kept "$kind: the read commands write nothing"
done

# An unreadable account file: reads fail with 1, writes are refused and change nothing.
fresh unreadable-accounts
on 1 accounts
check "the error says why" grep -q 'Error 70, Permission denied' "$work/err"
on 1 account new newbie secret1
check "the refusal names the file" grep -q '^save/account.txt could not be read' "$work/err"
on 1 account new newgm secret1 --gm
on 1 --yes account set 2000002 email=x@example.org
on 1 gm 2000002 5
kept "an unreadable account file stays as it was"

# CR-only line ends: read as lines, no version question, a save keeps them.
fresh cr-accounts
on 0 accounts
check "33 accounts listed" test "$(printf '%s\n' "$out" | wc -l)" -eq 33
on 0 account new newbie secret1
check "no version question" test ! -s "$work/err"
check "still CR-only" test "$(tr -cd '\n' <"$copy/$accounts" | wc -c)" -eq 0
check "the new account" grep -q $'\r2000021\tnewbie\tsecret1\t' "$copy/$accounts"
kept "only the account file changed" "$accounts"

# LF with comments and garbage: every write keeps the untouched lines byte for byte.
for command in "account set 2000003 email=new@example.org" "account new newbie secret1" \
    "gm 2000003 7" "account new newgm secret1 --gm"; do
    fresh commented-lf-accounts
    # shellcheck disable=SC2086
    on 0 $command
    case $command in
    gm*) kept "$command: only the GM file" "$gm_file" ;;
    *"--gm") kept "$command: the account and GM files" "$accounts" "$gm_file" ;;
    *) kept "$command: only the account file" "$accounts" ;;
    esac
    changed=$(diff "$work/accounts.before" "$copy/$accounts" | grep -c '^[<>]')
    case $command in
    "account set"*) check "$command: one line replaced" test "$changed" -eq 2 ;;
    "account new"*) check "$command: one line added, the counter line rewritten" test "$changed" -le 3 ;;
    *) check "$command: the account file untouched" test "$changed" -eq 0 ;;
    esac
    check "$command: no CR added" test "$(tr -cd '\r' <"$copy/$accounts" | wc -c)" -eq 0
done
check "the GM file keeps LF" test "$(tr -cd '\r' <"$copy/$gm_file" | wc -c)" -eq 0

# The %newid% counters never go down, and no new account takes an id below one.
fresh accounts-high-newid
on 0 account new newbie secret1
check "account counter raised past the new id" grep -q $'^100000001\t%newid%$' "$copy/$accounts"
check "new id at the counter" grep -q $'^100000000\tnewbie\t' "$copy/$accounts"

# One bad item_db row costs that row only; a 10 MB row is not echoed whole.
fresh bad-item-row
on 0 info
check "the other items load" grep -q '^Items : [1-9]' <<<"$out"
check "the row is named" grep -q '^line 5: hello world$' "$work/err"
on 0 char 150000
check "no unknown items" test "$(grep -c 'Unknown item' <<<"$out")" -eq 0
fresh huge-item-row
on 0 items
check "a short excerpt" test "$(wc -c <"$work/err")" -lt 1000
fresh bad-ini-rows
on 0 skills
check "the other skills load" test "$(printf '%s\n' "$out" | wc -l)" -gt 10
on 0 jobs
check "the other job classes load" grep -q 'Novice' <<<"$out"

# Numbers out of range: clamped as the server does, or called too big.
fresh gm-above-99
on 0 gm 704555
check "150 reads as 99" test "$out" = 99
on 0 accounts
check "listed as 99" grep -q $'^704555\t[^\t]*\t[MF]\t99\t' <<<"$out"
fresh huge-zeny
on 0 char "$(cut -f1 "$copy/$athena" | head -n 1)"
check "zeny too big" grep -q 'Zeny: 99999999999999999999 (too big' <<<"$out"

# Ids are decimal; an error that a command went past still fails the run.
fresh commented-lf-accounts
on 2 account set 0x1E8487 email=x@example.org
on 2 account 1e6
on 2 gm 0x2A
fresh unreadable-athena
on 1 chars 2000001
kept "ids and failed reads change nothing"

[ "$failures" -eq 0 ] && echo "all damaged server checks passed"
exit "$failures"
