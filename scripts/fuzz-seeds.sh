#!/usr/bin/env bash
# Writes the seed corpus of every fuzz target from the demo and from generated servers of the
# three account file generations: single lines and runs of a few lines, named by content.
#   scripts/fuzz-seeds.sh GEN_SERVER OUT_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
gen=$1
out=$2
scratch=$(mktemp -d /tmp/tavo-seeds-XXXXXX)
trap 'rm -rf "$scratch"' EXIT

for generation in 817 .52 1.0.0; do
  "$gen" --out "$scratch/gen$generation" --accounts 12 --generation "$generation" \
         --chars-per-account 2 --items 6 --cart-items 3 --seed 7 >/dev/null
done

# seed TARGET TEXT: one seed file named after its content.
seed() {
  local dir="$out/$1"
  mkdir -p "$dir"
  local name
  name=$(printf '%s' "$2" | sha1sum | cut -c1-16)
  printf '%s' "$2" >"$dir/$name"
}

# from_file TARGET FILE: the first lines one by one, runs of eight lines, and the file's head.
from_file() {
  local target=$1 file=$2
  [ -s "$file" ] || return 0
  mapfile -t lines < <(head -n 64 "$file")
  local i
  for ((i = 0; i < ${#lines[@]}; ++i)); do seed "$target" "${lines[i]}"$'\n'; done
  for ((i = 0; i < ${#lines[@]}; i += 8)); do
    seed "$target" "$(printf '%s\n' "${lines[@]:i:8}")"$'\n'
  done
  seed "$target" "$(head -c 4000 "$file")"
}

for server in "$root/demo/server" "$scratch"/gen*; do
  for pair in character:save/athena.txt storage:save/storage.txt party:save/party.txt \
              guild:save/guild.txt pet:save/pet.txt castle:save/castle.txt \
              item_db:db/item_db.txt battle_conf:conf/battle_athena.conf gm_file:conf/GM_account.txt; do
    from_file "${pair%%:*}_fuzz" "$server/${pair#*:}"
  done
done
from_file account_817_fuzz "$scratch/gen817/save/account.txt"
from_file account_052_fuzz "$scratch/gen.52/save/account.txt"
from_file account_100_fuzz "$scratch/gen1.0.0/save/account.txt"
from_file account_100_fuzz "$root/demo/server/save/account.txt"
from_file tavo_ini_fuzz "$root/demo/program/tavo.ini"
program="$root/demo/program"
# Both tables in one input, split at a NUL byte.
mkdir -p "$out/card_tables_fuzz"
{
  head -n 40 "$program/cardprefixnametable.txt"
  printf '\0'
  head -n 20 "$program/cardpostfixnametable.txt"
} >"$out/card_tables_fuzz/both-tables"
from_file card_tables_fuzz "$program/cardprefixnametable.txt"
