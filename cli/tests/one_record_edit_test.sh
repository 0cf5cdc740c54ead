#!/usr/bin/env bash
# "account set" on its own reads only the records it looks at and writes the rest of the file as
# it is on disk; in a batch it edits the whole table. Both must leave the same bytes and say the
# same things, on account files of every shape: CR LF, no header, no %newid% line or one the ids
# passed, lines the table keeps as they are, mixed line ends, no break at the end, a record the
# file holds twice.
# An item command on a store reads storage.txt once and, while the file is as it read it, writes
# it without a second pass: it too must leave what a batch leaves.
#   one_record_edit_test.sh TAVO_CLI DEMO_FOLDER
set -uo pipefail
source "$(dirname "$0")/checks.sh"
demo_copy "$1" "$2"
accounts=$work/server/save/account.txt
cp "$accounts" "$work/demo-accounts"

# Runs the command alone on one copy of the server and in a batch on another: the same exit
# code, output, messages and files.
same_alone_and_in_batch() {  # same_alone_and_in_batch SHAPE COMMAND
    local shape=$1 command=$2 words
    read -ra words <<<"$command"
    rm -rf "$work/alone" "$work/whole"
    cp -r "$work/server" "$work/alone" && cp -r "$work/server" "$work/whole" || exit 1
    "$cli" --data "$work/alone" "${words[@]}" >"$work/alone.out" 2>"$work/alone.err"
    local alone=$?
    "$cli" --data "$work/whole" batch - <<<"$command" >"$work/whole.out" 2>"$work/whole.err"
    local whole=$?
    check "$shape, $command: exit code $alone alone, $whole in a batch" test $alone -eq $whole
    check "$shape, $command: the same output" cmp -s "$work/alone.out" "$work/whole.out"
    check "$shape, $command: the same messages" cmp -s "$work/alone.err" \
        <(grep -v "command(s) applied\|The batch stopped at line" "$work/whole.err")
    check "$shape, $command: the same files" diff -r "$work/alone" "$work/whole"
}

edits=("account set 2000003 memo=one_pass email=a@b.c"
    "account set 2000003 userid=fresh_name"
    "account set 2000003 userid=zanebolt"
    "account set 2000020 userid=orinstone state=3"
    "account set 2000003 email=a_mail_address_longer_than_the_server_keeps@example.org"
    "account set 704555 memo=gm_again"
    "account set 0 memo=first"
    "account set 1234 memo=none")
shape() {  # shape NAME: every edit on the account file as it is now
    for edit in "${edits[@]}"; do same_alone_and_in_batch "$1" "$edit"; done
}

shape "the demo's file"
sed -i 's/$/\r/' "$accounts"
shape "CR LF lines"
grep -v '^//' "$work/demo-accounts" | sed 's/^2000021\t%newid%$/2000005\t%newid%/' >"$accounts"
shape "no header, a %newid% line below the ids"
grep -v '%newid%' "$work/demo-accounts" >"$accounts"
printf 'not an account\n2000003\tduplicate\tpw\t-\tM\t0\t0\n' >>"$accounts"
grep -P '^2000003\t' "$work/demo-accounts" | sed 's/\t0\t$/\t5\t/' >>"$accounts"
shape "no %newid% line, a kept line, a second record of 2000003"
sed '20s/$/\r/' "$work/demo-accounts" | head -c -1 >"$accounts"
shape "mixed line ends, no break at the end"
# A file large enough to be read in two halves at once: the accounts the edits name, the kept
# lines and the counter in the second half, a kept line in the first.
{
    grep '^//' "$work/demo-accounts"
    awk 'BEGIN { for (i = 0; i < 180000; i++) { if (i == 5000) print "not an account"
        printf "%d\tpad%d\tpw\t-\tM\t0\t0\tpad%d@example.com\t-\t0\t-\t%s\t0\t\n", \
            3000000 + i, i, i, "a memo that makes the file large enough to be read in halves" } }'
    grep -v '^//' "$work/demo-accounts"
    printf 'not an account either\n'
} >"$accounts"
check "the file is read in halves" test "$(stat -c %s "$accounts")" -gt $((16 << 20))
shape "a file read in halves"
cp "$work/demo-accounts" "$accounts"

storage=$work/server/save/storage.txt
grep '^2000002,' "$storage" | sed 's/,713,900,/,713,901,/' >>"$storage"
sed -i 's/$/\r/' "$storage"
for edit in "item edit --storage 2000002 0 --qty 5" "item add --storage 2000004 501 --qty 3" \
    "item edit --storage 2000001 1 --qty 2" "item edit --storage 1234 0 --qty 5"; do
    same_alone_and_in_batch "a store line twice, CR LF lines" "$edit"
done

exit $((failures > 0))
