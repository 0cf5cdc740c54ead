#!/usr/bin/env bash
# tavo-cli check (and --fix) on the demo server and a generated one, and the running-server
# guard against a listening socket on this machine.
#   check_command_test.sh TAVO_CLI GEN_SERVER DEMO_FOLDER
set -uo pipefail
work=$(mktemp -d /tmp/tavo-cli-test-XXXXXX)
listener=
trap '[ -n "$listener" ] && kill "$listener" 2>/dev/null; rm -rf "$work"' EXIT
cli=$1
cp -r "$3/server" "$work/demo"
server=$work/server
"$2" --out "$server" --accounts 40 --seed 3 >/dev/null || exit 1
cli_args=()
source "$(dirname "$0")/checks.sh"
port_zero "$work/demo"
port_zero "$server"

run 0 --data "$work/demo" check
check "the demo server is clean" test -z "$out"
run 0 --data "$server" check
check "a generated server is clean" test -z "$out"

# The GM file as eAthena ships it reserves ids for GM accounts made later: notes, no failure.
reserved=$work/reserved
cp -r "$work/demo" "$reserved"
printf '704562-704591 99\n704600 60\n' >>"$reserved/conf/GM_account.txt"
run 0 --data "$reserved" check
check "reserved GM ids are notes" test "$(grep -c '^conf/GM_account.txt:[0-9]*: Note: ' <<<"$out")" -eq 2
check "the range named" grep -qF 'None of the accounts 704562 to 704591 that this GM line names exists yet' <<<"$out"
check "no problem, two notes" grep -qx '0 problem(s) found, 2 note(s)\.' "$work/err"
run 0 --data "$reserved" --json check
check "JSON: notes of their code" test "$(grep -c '"problem": "gm_without_account"' <<<"$out")" -eq 2

# Two problems with one right repair each, and one without.
accounts=$server/save/account.txt
sed -i 's/^[0-9]*\t%newid%/2000002\t%newid%/' "$accounts"
printf '2999999,1\t1,501,1,0,1,0,0,0,0,0,0 \t\n' >>"$server/save/storage.txt"
printf '777\tLost Pet Club\t0,0\t' >>"$server/save/party.txt"
for slot in $(seq 12); do printf '0,0\tNoMember\t' >>"$server/save/party.txt"; done
printf '\n' >>"$server/save/party.txt"
newid_line=$(grep -n $'\t%newid%' "$accounts" | cut -d: -f1)
store_line=$(wc -l <"$server/save/storage.txt")
cp -r "$server" "$work/before"

run 1 --data "$server" check
check "three problems" test "$(printf '%s\n' "$out" | wc -l)" -eq 3
check "the counter at its line" grep -q "^save/account.txt:$newid_line: The %newid% counter 2000002" <<<"$out"
check "the store at its line" grep -q "^save/storage.txt:$store_line: The store of account 2999999" <<<"$out"
run 1 --data "$server" --json check
check "JSON codes" grep -q '"problem": "party_without_members"' <<<"$out"
check "JSON repairs" grep -q '"repair": "drop the store of the missing account 2999999"' <<<"$out"

# --fix asks once, naming what each repair removes; without --yes nothing is written.
run 1 --data "$server" check --fix
check "one question" grep -q 'Repair now?' "$work/err"
check "what the store repair removes" grep -qF \
    "save/storage.txt line $store_line: drop the store of the missing account 2999999 (removes 1 store line of 1 item)" \
    "$work/err"
check "how many stores go in all" grep -qF \
    "In all, 1 of the $(wc -l <"$work/before/save/storage.txt") store lines of save/storage.txt go." \
    "$work/err"
check "nothing written" diff -r "$work/before" "$server"
run 1 --data "$server" --yes check --fix
check "repaired" grep -q '^Repaired: 2\. Checked again:$' <<<"$out"
check "only the party is left" test "$(grep -c '^save/' <<<"$out")" -eq 4
check "account backup" cmp -s "$server/save/account.bak.txt" "$work/before/save/account.txt"
check "store backup" cmp -s "$server/save/storage.bak.txt" "$work/before/save/storage.txt"
run 1 --data "$server" check
check "what has no one repair stays" test "$(printf '%s\n' "$out")" = \
    "save/party.txt:$(wc -l <"$server/save/party.txt"): Party 777 (Lost Pet Club) has no members: the server deletes it when it loads."

# One pet, one egg: a pet whose egg went is a note, which --fix drops; a second egg of a pet
# is a problem.
eggs=$work/eggs
cp -r "$work/demo" "$eggs"
sed -i 's/ 103,9004,1,0,1,0,0,-256,3,0,0 / /; s/^2000001,4/2000001,3/' "$eggs/save/storage.txt"
printf '2000005,1\t0,9001,1,0,1,0,0,-256,1,0,1 \t\n' >>"$eggs/save/storage.txt"
run 1 --data "$eggs" check
check "a pet in two eggs" grep -qF "save/pet.txt:1: Pet 1 (Pudding) is in 2 places: an egg in the inventory of character 150002 (Mirabel) at save/athena.txt:4; an egg in the store of account 2000005 at save/storage.txt:3." <<<"$out"
check "a pet in no egg" grep -qF "save/pet.txt:3: Note: Pet 3 (Moonie) is in no egg and hatched by no character" <<<"$out"
run 1 --data "$eggs" --yes check --fix
check "the pet's record dropped" test -z "$(grep '^3,' "$eggs/save/pet.txt")"
check "the others kept" test "$(wc -l <"$eggs/save/pet.txt")" -eq 2

# What a killed write left in save/ is listed as notes, which fail nothing; --fix removes them.
left=$work/left
cp -r "$work/demo" "$left"
head -c 3000 "$left/save/athena.txt" >"$left/save/.athena.txt.Qx81mZ"
cp "$left/save/account.txt" "$left/save/.account.txt.kept4242"
run 0 --data "$left" check
check "two notes" test "$(grep -c '^save/\.[a-z]*\.txt\.[A-Za-z0-9]*: Note: ' <<<"$out")" -eq 2
check "the temporary file" grep -qF "save/.athena.txt.Qx81mZ: Note: A temporary file left by a write of save/athena.txt that was cut off (3000 bytes)." <<<"$out"
check "counted apart" grep -qx '0 problem(s) found, 2 note(s)\.' "$work/err"
run 0 --data "$left" --json check
check "JSON kind" test "$(grep -c '"kind": "note"' <<<"$out")" -eq 2
run 0 --data "$left" --yes check --fix
check "removed" test -z "$(find "$left/save" -name '.*')"
check "the rest kept" diff -r "$work/demo" "$left"
# account.txt missing or a folder is a problem, never a clean check.
rm "$left/save/account.txt"
run 1 --data "$left" check
check "missing account file" grep -q '^save/account.txt: The file is missing' <<<"$out"
mkdir "$left/save/account.txt"
run 1 --data "$left" check
check "a folder instead" grep -q '^save/account.txt: A folder' <<<"$out"

# --fix never repairs from an account file it could not read, or one without players: with an
# empty or CR-only account.txt every store would count as one of a deleted account.
printf '2000001\tkaelen\tpass\t-\tS\t0\t0\t\n' >"$work/server-only.txt"
for damage in empty cr server-only; do
    rm -rf "$work/damaged" && cp -r "$work/demo" "$work/damaged"
    case $damage in
    empty) : >"$work/damaged/save/account.txt" ;;
    cr) tr '\n' '\r' <"$work/demo/save/account.txt" >"$work/damaged/save/account.txt" ;;
    server-only) cp "$work/server-only.txt" "$work/damaged/save/account.txt" ;;
    esac
    cp -r "$work/damaged" "$work/damaged-before"
    run 1 --data "$work/damaged" --yes check --fix
    check "$damage account file: no store dropped" diff -r "$work/damaged-before" "$work/damaged"
    check "$damage account file: no question" test -z "$(grep 'Repair now?' "$work/err")"
    case $damage in
    cr) check "$damage account file: stores not judged" test -z "$(grep '^save/storage.txt' <<<"$out")" ;;
    *) check "$damage account file: the refusal says why" grep -qF \
        "Nothing was repaired: save/account.txt holds no player account, so every store would count as one of a deleted account." \
        "$work/err" ;;
    esac
    rm -rf "$work/damaged-before"
done

# A server answering on its port: reading warns, writing is refused unless --force.
if command -v python3 >/dev/null; then
    python3 -c '
import socket, sys, time
s = socket.socket(); s.bind(("127.0.0.1", 0)); s.listen(4)
print(s.getsockname()[1], flush=True); time.sleep(60)' >"$work/port" &
    listener=$!
    for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
    printf 'char_port: %s\n' "$(cat "$work/port")" >"$work/demo/conf/char_athena.conf"
    cp "$work/demo/save/account.txt" "$work/accounts-before"
    run 0 --data "$work/demo" accounts
    check "reading warns" grep -q "^Warning: The char server answers on port $(cat "$work/port")" "$work/err"
    run 1 --data "$work/demo" account set 2000002 memo=busy
    check "refused with advice" grep -q 'add --force' "$work/err"
    check "account file untouched" cmp -s "$work/accounts-before" "$work/demo/save/account.txt"
    run 0 --data "$work/demo" --force account set 2000002 memo=busy
    check "forced write" grep -q $'\tbusy\t' "$work/demo/save/account.txt"
fi

[ "$failures" -eq 0 ] && echo "all check command checks passed"
exit "$failures"
