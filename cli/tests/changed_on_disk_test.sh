#!/usr/bin/env bash
# tavo-cli meeting a second writer: as tavo-cli makes its first temporary file (after it read
# the files, before it replaces any), a second writer changes a file, and tavo-cli goes on.
# The answers say what was done, the exit codes follow, and no file holds a half-made change.
#   changed_on_disk_test.sh TAVO_CLI DEMO_FOLDER SECOND_WRITER_LIBRARY
set -uo pipefail
source "$(dirname "$0")/checks.sh"
demo_copy "$1" "$2"
hook=$3
save=$work/server/save
real_cli=$cli
cli=racing
cli_args=(--data "$work/server")

# racing ARGS...: tavo-cli with $work/writer.sh run as it is about to write (to the file
# $writes_on when set).
racing() {
    rm -f "$work/wrote"
    TAVO_SECOND_WRITER_ON=${writes_on:-} LD_PRELOAD="$hook" \
        TAVO_SECOND_WRITER="bash $work/writer.sh && touch $work/wrote" \
        ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" "$real_cli" "$@"
}
# writer SCRIPT: what the second writer does; the expected files are the demo's with it made.
writer() {
    printf 'cd %q && %s\n' "$work/server" "$1" >"$work/writer.sh"
    rm -rf "$work/expected" "$work/server"
    cp -r "$2/server" "$work/server" && cp -r "$2/server" "$work/expected" &&
        port_zero "$work/server" && port_zero "$work/expected" &&
        (cd "$work/expected" && bash -c "$1")
}
# as_the_writer_left_them: every save file is the second writer's, backups aside.
as_the_writer_left_them() {
    test -e "$work/wrote" && diff -r -x '*.bak.txt' "$work/expected" "$work/server" >/dev/null
}

# --theirs keeps the other writer's version of the record Tavo changed: nothing was changed.
writer 'sed -i "s/^\(2000002\t[^\t]*\t\)potion88/\1newpass/" save/account.txt' "$2"
run 1 --theirs account set 2000002 memo=mine
check "account set: nothing was changed" grep -qF \
    "Account 2000002 was changed on disk since it was read, and the version on disk was kept (--theirs). Nothing was changed." \
    "$work/err"
check "account set: not called changed" test -z "$(grep -F changed. <<<"$out")"
check "account set: the other writer's account" as_the_writer_left_them

writer 'sed -i "s/^\(150000\t[^\t]*\t\)Kaelen/\1Kael/" save/athena.txt' "$2"
run 1 --theirs item add --char 150000 502
check "item add --char: nothing was changed" grep -qF \
    "Character 150000 was changed on disk since it was read, and the version on disk was kept (--theirs). Nothing was changed." \
    "$work/err"
check "item add --char: the other writer's character" as_the_writer_left_them

# char set, as the Edit Basic Character Info panel's "Ok" and "Save to File": --theirs keeps the
# renamed line; --mine writes the character as read with its zeny, over the rename.
writer 'sed -i "s/^\(150000\t[^\t]*\t\)Kaelen/\1Kael/" save/athena.txt' "$2"
run 1 --theirs char set 150000 zeny=5
check "char set: nothing was changed" grep -qF \
    "Character 150000 was changed on disk since it was read, and the version on disk was kept (--theirs). Nothing was changed." \
    "$work/err"
check "char set --theirs: the other writer's character" as_the_writer_left_them
writer 'sed -i "s/^\(150000\t[^\t]*\t\)Kaelen/\1Kael/" save/athena.txt' "$2"
run 0 --mine char set 150000 zeny=5
check "char set --mine: Tavo's name and zeny" test "$(awk -F'\t' '$1 == 150000 { print $3 "|" $5 }' \
    "$save/athena.txt" | sed 's/|[0-9]*,[0-9]*,/|/')" = "Kaelen|5"

writer 'sed -i "s/^\(2000001,4\t100,501,\)200,/\1150,/" save/storage.txt' "$2"
run 1 --theirs item add --storage 2000001 502
check "item add --storage: nothing was changed" grep -qF \
    "The store of account 2000001 was changed on disk since it was read, and the version on disk was kept (--theirs). Nothing was changed." \
    "$work/err"
check "item add --storage: the other writer's store" as_the_writer_left_them

# A deletion meets a renamed party the deleted account leads. Without a choice nothing is
# written; with --theirs the renamed party is kept and the account still leaves it, handing
# the leader over.
writes_on=party.txt
writer 'sed -i "s/\tDawnbreakers\t/\tDawnriders\t/" save/party.txt' "$2"
run 1 --yes account delete 2000001
check "deletion refused with advice" grep -qF \
    "Party 1 (Dawnriders) was changed on disk since it was read, so nothing was written. Add --mine" \
    "$work/err"
check "refused deletion: no file changed" as_the_writer_left_them

writer 'sed -i "s/\tDawnbreakers\t/\tDawnriders\t/" save/party.txt' "$2"
run 0 --yes --theirs account delete 2000001
check "deleted" grep -q '^Account 2000001 deleted\.$' <<<"$out"
check "the renamed party without the account" grep -q \
    $'^1\tDawnriders\t0,1\t0,0\tNoMember\t2000009,1\tSelafin\t2000002,0\tMirabel\t' "$save/party.txt"
check "no line names the account" test -z "$(grep -l '2000001,' "$save/party.txt" "$save/guild.txt" \
    "$save/storage.txt" "$save/pet.txt")"

[ "$failures" -eq 0 ] && echo "all changed-on-disk checks passed"
exit "$failures"
