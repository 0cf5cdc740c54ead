#!/usr/bin/env bash
# tavo-cli wipe: a dry run writes nothing, the question needs --yes, each wipe on a generated
# server leaves nothing for `check` to find, and a refused write changes no file.
#   wipe_command_test.sh TAVO_CLI GEN_SERVER DEMO_FOLDER
set -uo pipefail
cli=$1
work=$(mktemp -d /tmp/tavo-cli-test-XXXXXX)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/checks.sh"

gen=$2
server=$work/server
fresh() {  # a generated server in $server
    rm -rf "$server"
    "$gen" --out "$server" --accounts 300 --seed 5 >/dev/null || exit 1
    port_zero "$server"
}
fresh
snapshot() { (cd "$server" && find save conf -type f | sort | xargs md5sum); }

before=$(snapshot)
run 0 --data "$server" wipe users --not-since 2004-06-01 --dry-run
check "dry run lists accounts" grep -q '^accounts: [0-9]' <<<"$out"
check "dry run counts" grep -qE '^Dry run, nothing was written: [1-9][0-9]* accounts, [0-9]+ characters and [0-9]+ stores will be deleted\.$' <<<"$out"
run 0 --data "$server" --json wipe chars --family archer thief --dry-run
check "JSON dry run" grep -q '"character_count": [1-9]' <<<"$out"
run 1 --data "$server" wipe users --not-since 2004-06-01
check "unanswered question" grep -q 'USER WIPE! Are you sure?' "$work/err"
check "nothing written" test "$before" = "$(snapshot)"
check "no backup folder" test -z "$(find "$server/save" -name 'backup-*')"
run 2 --data "$server" wipe users
run 2 --data "$server" wipe items --zeny '*5'
run 2 --data "$server" wipe chars --family bard
run 1 --data "$server" --yes wipe users --not-since 2004-02-30
check "invalid date" grep -q 'You have entered an INVALID date' "$work/err"

ip=$(awk -F'\t' 'NF > 10 && $1 >= 2000000 && $11 != "-" { print $11; exit }' "$server/save/account.txt")
for wipe in "users --not-since 2004-06-01 --include-gm" "users --ip $ip" \
    "chars --family novice swordman merchant" \
    "items --inventory --cart --storage --guild-storage --memo --skills --vars --zeny +500" \
    "full"; do
    fresh
    before=$(snapshot)
    # shellcheck disable=SC2086
    run 0 --data "$server" --yes wipe $wipe
    check "$wipe: backup named" grep -q 'The files as they were are in save/backup-' "$work/err"
    run 0 --data "$server" check
    check "$wipe: check finds nothing" test -z "$(grep -v ': Note: ' <<<"$out")"
done
check "full wipe: empty characters" test ! -s "$server/save/athena.txt"
check "full wipe: 20 castles" test "$(wc -l <"$server/save/castle.txt")" -eq 20

# A write refused by the running-server guard changes nothing and makes no backup.
fresh
python3 -c 'import socket, time
s = socket.socket(); s.bind(("127.0.0.1", 0)); s.listen()
print(s.getsockname()[1], flush=True); time.sleep(30)' >"$work/port" &
listener=$!
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
printf 'char_port: %s\n' "$(cat "$work/port")" >"$server/conf/char_athena.conf"
before=$(snapshot)
run 1 --data "$server" --yes wipe full
kill "$listener" 2>/dev/null
check "running server: nothing written" test "$before" = "$(snapshot)"
check "running server: no backup folder" test -z "$(find "$server/save" -name 'backup-*')"

exit $((failures > 0))
