#!/usr/bin/env bash
# tavo-cli where a save file cannot be replaced, or is a folder: a change across files is
# written whole or not at all, the message names the file, the exit code is 1, and every file
# stays as it was.
#   write_faults_test.sh TAVO_CLI DEMO_FOLDER
set -uo pipefail
built_cli=$1
demo=$2
here=$(dirname "$0")
source "$here/checks.sh"
source "$here/../../testsupport/damage.sh"

copy=$work/copy
fresh() {  # a new copy of the demo, tavo-cli in its program folder
    rm -rf "$copy"
    mkdir -p "$copy"
    cp -r "$demo/server" "$demo/program" "$copy/" && cp "$built_cli" "$copy/program/tavo-cli" ||
        exit 1
    port_zero "$copy/server"
}
on() {  # on EXPECTED ARGS...: tavo-cli on the copy, as a plain user where run as root
    local expected=$1
    shift
    cli=as_plain_user
    cli_args=("$copy" "$copy/program/tavo-cli" --data "$copy/server")
    run "$expected" "$@"
}
said() {  # said TEXT: the run's messages hold the line TEXT
    check "said: $1" grep -qxF "$1" "$work/err"
}
nothing_changed() {
    check "$1: no file changed" unchanged_except "$copy" "$work/before"
}

# A folder where a save file belongs is never a missing file.
fresh
rm "$copy/server/save/athena.txt" && mkdir "$copy/server/save/athena.txt"
snapshot "$copy" >"$work/before"
on 1 --yes account delete 2000001
said "The account 2000001 was not deleted: save/athena.txt (Error 75, A folder, not a file) could not be written. No file was changed."
nothing_changed "athena.txt a folder"

# A file the plain user may not replace (its folder is sticky, the file root's): the rename of
# its new content fails after the files before it were replaced. Root alone can arrange that.
if [ "$(id -u)" -ne 0 ]; then
    echo "not root: the refused renames are left to the core tests"
else
    refuse() {  # refuse RELATIVE_FILE
        local file=$copy/server/$1
        as_plain_user "$copy" true
        chown 0:0 "$file" "$(dirname "$file")" && chmod 1777 "$(dirname "$file")"
        snapshot "$copy" >"$work/before"
    }
    fresh
    refuse save/athena.txt
    on 1 --yes account delete 2000001
    said "The account 2000001 was not deleted: save/athena.txt (Error 70, Permission denied) could not be written. No file was changed."
    nothing_changed "athena.txt refused after account.txt"
    on 1 item add --char 150000 502
    said "Error 70, Permission denied (save/athena.txt)"
    nothing_changed "athena.txt refused to an item"

    fresh
    refuse conf/GM_account.txt
    on 1 account new newgm secret1 --gm
    said "Error 70, Permission denied (conf/GM_account.txt). No file was changed."
    nothing_changed "the GM file refused after account.txt"
fi

[ "$failures" -eq 0 ] && echo "all write fault checks passed"
exit "$failures"
