#!/usr/bin/env bash
# What tavo-cli refuses, and that a refusal changes no file: ids and numbers are decimal and
# what the window's fields hold, no save loses items unasked, the %newid% counter is honoured
# in its place, and a server listening on this machine stops every write.
#   refusals_test.sh TAVO_CLI DEMO_FOLDER
set -uo pipefail
source "$(dirname "$0")/checks.sh"
demo_copy "$1" "$2"
save=$work/server/save
listener=
trap '[ -n "$listener" ] && kill "$listener" 2>/dev/null; rm -rf "$work"' EXIT

snap() { rm -rf "$work/snap" && cp -r "$work/server" "$work/snap"; }
unchanged() { diff -r "$work/server" "$work/snap" >/dev/null; }
refused() {  # refused CODE MESSAGE ARGS...: exit CODE, MESSAGE on stderr, no file changed
    local code=$1 message=$2
    shift 2
    snap
    run "$code" "$@"
    check "$*: says \"$message\"" grep -qF -- "$message" "$work/err"
    check "$*: changes nothing" unchanged
}
line_of() { grep "^$1"$'\t' "$save/$2"; }
items() { printf "0,$1,1,0,1,0,0,0,0,0,0 %.0s" $(seq "$2"); }  # items ITEM_ID COUNT

# Ids and lines are decimal: a leading 0 never names another record.
refused 1 "No account with the id 7502203" --yes account delete 07502203
refused 1 "No account with the id 7502203" account set 07502203 memo=x
refused 1 "No account with the id 7502203" gm 07502203 5
refused 1 "No item at line 10" --yes item delete --storage 02000001 010
refused 2 "INDEX: a whole number" --yes item delete --char 150000 0x8
run 0 --yes item delete --char 150000 010
run 0 char 150000
check "line 10 deleted, not line 8" test "$(grep -c 'Blue Potion\|Falchion' <<<"$out")" = 1 -a \
    -z "$(grep Falchion <<<"$out")"
run 0 gm 0704555 010
check "level 10, not 8" grep -q '^704555 10$' "$work/server/conf/GM_account.txt"

# Only what the window's fields hold: a usage error naming the option.
while IFS='|' read -r code message args; do
    # shellcheck disable=SC2086
    refused "$code" "$message" $args
done <<'EOF'
2|--qty: a whole number|item add --storage 2000002 501 --qty -2147483648
2|--qty: a whole number|item add --storage 2000002 501 --qty 5.5
2|--qty: a whole number|item add --char 150001 501 --qty 99999999999
2|--qty: a whole number|item add --char 150001 501 --qty many
2|--qty: at most 30000|item add --storage 2000002 501 --qty 30001
2|--refine: a whole number|item add --char 150001 1201 --refine -1
2|--refine: a whole number|item add --char 150001 1201 --refine 1.5
2|--pet: a whole number|item add --storage 2000002 9001 --pet -5
2|--cards: up to four card numbers|item add --char 150001 1201 --cards 4001,x
2|--strength: a whole number from 0 to 3|item add --char 150001 1201 --forger 150000 --strength 4
2|LEVEL: a whole number from 0 to 99|gm 704555 1.5
2|state is a whole number from 0 to 255: 1.5|account set 2000002 state=1.5
2|Name the line to delete|--yes item delete --storage 2000002
1|No pet 70000 in save/pet.txt|item add --storage 2000002 9001 --pet 70000
EOF

# Items beyond maxstorage and maxinventory stay unless --drop-excess lets a save drop them;
# the fields after a character's last known one stay, and so does a missing final break.
printf '2000003,1000\t%s\t\n' "$(items 909 1000)" >>"$save/storage.txt"
awk -F'\t' -v OFS='\t' -v list="$(items 909 150)" \
    '$1 == 150004 { $16 = list; $0 = $0 "EXTRA20\tEXTRA21" } { print }' "$save/athena.txt" \
    >"$work/athena" && mv "$work/athena" "$save/athena.txt"
truncate -s -1 "$save/athena.txt"
refused 1 "the store of account 2000003 holds 999 items, 699 more than maxstorage (300)" \
    --yes item delete --storage 2000003 5
refused 1 "Add --drop-excess to drop them." --yes item delete --char 150004 5
run 0 --yes --drop-excess item delete --storage 2000003 5
check "300 items written" grep -q $'^2000003,300\t' "$save/storage.txt"
run 0 --yes --drop-excess item delete --char 150004 5
check "100 items written" test "$(line_of 150004 athena.txt | cut -f16 | tr -cd ' ' | wc -c)" -eq 100
check "unknown fields kept" test "$(line_of 150004 athena.txt | cut -f20-)" = $'EXTRA20\tEXTRA21'
check "still no final break" test "$(tail -c 1 "$save/athena.txt" | wc -l)" -eq 0

# A %newid% line stays where it is; a new account takes no id below the counter.
sed -i '10a 2500000\t%newid%' "$save/account.txt"
snap
run 0 account set 2000002 memo=moved
check "only the edited line changed" test "$(diff "$work/snap/save/account.txt" "$save/account.txt" | grep -c '^[<>]')" -eq 2
run 0 account new newbie secret1
check "new id at the counter" grep -q $'^2500000\tnewbie\t' "$save/account.txt"
check "the middle counter kept" test "$(sed -n 11p "$save/account.txt")" = $'2500000\t%newid%'
check "the last counter raised" test "$(tail -1 "$save/account.txt")" = $'2500001\t%newid%'

# A server seen through an import, in another letter case, with a comment after the port, and
# listening with a full backlog: every write is refused.
if command -v python3 >/dev/null; then
    python3 -c '
import socket, time
s = socket.socket(); s.bind(("127.0.0.1", 0)); s.listen(0)
port = s.getsockname()[1]
waiting = [socket.socket() for _ in range(4)]
for c in waiting: c.setblocking(False); c.connect_ex(("127.0.0.1", port))
print(port, flush=True); time.sleep(60)' >"$work/port" &
    listener=$!
    for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
    port=$(cat "$work/port")
    mkdir -p "$work/server/conf/import"
    printf 'import: conf/import/char_conf.txt\n' >"$work/server/conf/char_athena.conf"
    printf 'CHAR_PORT: %s // moved\n' "$port" >"$work/server/conf/import/char_conf.txt"
    refused 1 "Not written: the char server answers on port $port" gm 704555 7
    refused 1 "Not written: the char server answers on port $port" account set 2000002 memo=x
else
    echo "python3 missing: the running-server check was not run"
fi

[ "$failures" -eq 0 ] && echo "refusals: all checks passed"
exit "$failures"
