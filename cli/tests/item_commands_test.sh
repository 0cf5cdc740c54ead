#!/usr/bin/env bash
# tavo-cli's storage and item commands on a copy of the demo server: what they print, what
# they write (with the backup) and how they refuse (exit 1, nothing written).
#   item_commands_test.sh TAVO_CLI DEMO_FOLDER
set -uo pipefail
source "$(dirname "$0")/checks.sh"
demo_copy "$1" "$2"
save=$work/server/save
storage_line() { grep "^$1," "$save/storage.txt"; }
demo_save=$2/server/save
same() {  # same FILE DEMO_FILE: a file of the scratch server is the demo's file, byte for byte
    cmp -s "$save/$1" "$demo_save/$2"
}

run 0 storage 2000001
check "store lines" test "$(head -2 <<<"$out")" = "200 pcs Red Potion
1 pc Bloody Sword [3]"
check "label" test "$(tail -1 <<<"$out")" = "Qty [4/300]"
run 0 --json storage 2000002
check "JSON item values" grep -qF '"item": "105,545,50,0,1,0,0,254,0,18930,2 "' <<<"$out"
run 1 storage 1234

# Refusals: nothing is written.
run 1 item add --storage 2000001 501
check "duplicate refused" grep -qF "That item is already in list." "$work/err"
run 1 item add --storage 2000002 "Red Potion" --qty 0
check "quantity" grep -qF "Please enter item quantity." "$work/err"
run 1 item add --storage 2000002 "Red Potion" --refine 3
run 1 item add --char 150001 2302 --cards 4004
check "card of another location" grep -qF "Card 4004 does not fit Cotton Shirt." "$work/err"
run 1 item add --char 150001 1203 --forger 150000
check "forger not eligible" grep -qF "is not in the forger list" "$work/err"
run 1 item add --char 150001 "No Such Thing"
run 1 item add --char 999999 501
run 2 item add 501
run 1 item delete --storage 2000002 0
check "a question needs --yes" grep -qF "add --yes" "$work/err"
run 1 item edit --char 150001 9
check "nothing written by a refusal" test -z "$(ls "$save" | grep bak)"

# Storage: a new line, a made potion, an egg, an edit and deletions.
run 0 item add --storage 2000005 "Red Potion" --qty 30000
check "new store line at the end" test "$(tail -1 "$save/storage.txt")" = $'2000005,1\t0,501,30000,0,1,0,0,0,0,0,0 \t'
check "backup" same storage.bak.txt storage.txt
run 0 item add --storage 2000005 501 --qty 5 --maker 150001
check "made potion" grep -qF "0,501,5,0,1,0,0,254,0,18929,2 " <<<"$(storage_line 2000005)"
# One pet, one egg: a pet in another egg or hatched is refused, wherever it is.
run 1 item add --storage 2000005 9001 --pet 3
check "pet in another store's egg" grep -qF \
    "Pet 3 (Moonie) is already in an egg in the store of account 2000001 (kaelen)." "$work/err"
run 1 item add --storage 2000005 9001 --pet 2
check "hatched pet" grep -qF "Pet 2 (Bun) is already Mirabel's hatched pet." "$work/err"
printf '4,1002,Jelly\t2000005,150005,1,9001,0,100,50,0,1\n' >>"$save/pet.txt"
run 0 item add --storage 2000005 9001 --pet 4
check "egg" grep -qF "0,9001,1,0,1,0,0,-256,4,0,1 " <<<"$(storage_line 2000005)"
run 1 item add --char 150002 9001 --pet 4
check "second egg" grep -qF \
    "Pet 4 (Jelly) is already in an egg in the store of account 2000005 (ashgrove)." "$work/err"
run 0 item edit --storage 2000005 1 --qty 9
check "edit keeps the maker" grep -qF "0,501,9,0,1,0,0,254,0,18929,2 " <<<"$(storage_line 2000005)"
run 0 --yes item delete --storage 2000005 --all
check "emptied store has no line" test -z "$(storage_line 2000005)"
check "a deleted egg keeps its pet, to be given back" grep -q '^4,1002,Jelly' "$save/pet.txt"
check "the other stores as they were" same storage.txt storage.txt

# Inventory and cart: forged and carded weapons, deletion clears the worn sprite.
run 0 item add --char 170000 1203 --forger 170000 --strength 2 --element 3
run 0 char 170000
check "forged by a smith above 163839" grep -qF "Very Very Strong Hammerhand's Fire Knife" <<<"$out"
check "key halves" grep -qF "0,1203,1,0,1,0,0,255,2563,-26608,2 " "$save/athena.txt"
# A weapon with slots and no card is forged as in the window.
run 0 item add --char 150000 1201 --forger 170000 --strength 1 --element 3
check "slotted weapon forged" grep -qF "0,1201,1,0,1,0,0,255,1283,-26608,2 " "$save/athena.txt"
run 0 item add --char 150001 --cart 1201 --cards 4004,4011 --refine 15
run 0 char 150001
check "carded and refined" grep -qF "1 pc +10 " <<<"$out"
check "athena backup" test -f "$save/athena.bak.txt"
run 0 --yes item delete --char 150001 0
check "view field cleared" test "$(grep "^150001"$'\t' "$save/athena.txt" | cut -f12)" = "0,0,0,0,0"
# An egg deleted from an inventory keeps its pet too (Mirabel's third line holds pet 1).
run 0 --yes item delete --char 150002 2
check "the egg left the inventory" test -z "$(grep "^150002"$'\t' "$save/athena.txt" | grep -F ',-256,1,')"
check "a deleted egg keeps its pet in the inventory too" grep -q '^1,1002,Pudding' "$save/pet.txt"

[ "$failures" -eq 0 ] && echo "item commands: all checks passed"
exit "$failures"
