# Damaged copies of the demo server for tavo-cli tests, and the check that a command changed no
# byte it was not meant to change. Source it after checks.sh; damaged_server_test.sh shows the use.
#   damage_demo DEMO DEST KIND CLI   DEMO's server and program folders copied to DEST, the
#                                    tavo-cli binary CLI in DEST/program, damaged as KIND says;
#                                    its servers on port 0 (port_zero)
#   damage_kinds                     every KIND, one a line
#   snapshot DIR > FILE              every file below DIR (tavo-cli left out) with mode and sum
#   unchanged_except DIR SNAPSHOT [RELATIVE_FILE...]
#                                    true when nothing but the files named changed; else says what
#   as_plain_user DIR COMMAND...     COMMAND as an unprivileged user when run as root (DIR handed
#                                    over), so that a file of mode 000 really cannot be read

damage_kinds() {
    printf '%s\n' unreadable-accounts cr-accounts commented-lf-accounts crlf-accounts \
        accounts-high-newid accounts-no-final-break empty-accounts missing-accounts \
        unreadable-athena commented-athena athena-high-newid huge-zeny empty-athena \
        missing-athena bad-item-row huge-item-row empty-item-db bad-ini-rows bad-card-rows \
        gm-above-99 gm-comments-lf missing-gm-file
}

# Line ends of a file turned into lone CRs (an old Mac editor).
to_cr() { tr '\n' '\r' <"$1" >"$1.tmp" && mv "$1.tmp" "$1"; }
to_crlf() { sed 's/$/\r/' "$1" >"$1.tmp" && mv "$1.tmp" "$1"; }
# Inserts TEXT as line N of FILE.
insert_line() { sed -i "$2i\\$3" "$1"; }

damage_demo() {
    local demo=$1 dest=$2 kind=$3 cli=$4
    mkdir -p "$dest"
    cp -r "$demo/server" "$dest/server"
    cp -r "$demo/program" "$dest/program"
    ln "$cli" "$dest/program/tavo-cli" 2>/dev/null || cp "$cli" "$dest/program/tavo-cli"
    port_zero "$dest/server"
    local s=$dest/server p=$dest/program
    case $kind in
    unreadable-accounts) chmod 000 "$s/save/account.txt" ;;
    cr-accounts) to_cr "$s/save/account.txt" ;;
    commented-lf-accounts)
        insert_line "$s/save/account.txt" 3 'garbage in the header'
        insert_line "$s/save/account.txt" 20 '// an administrator'"'"'s note between accounts'
        insert_line "$s/save/account.txt" 22 'not an account'
        ;;
    crlf-accounts) to_crlf "$s/save/account.txt" ;;
    accounts-high-newid) sed -i 's/^[0-9]*\t%newid%$/100000000\t%newid%/' "$s/save/account.txt" ;;
    accounts-no-final-break) truncate -s -1 "$s/save/account.txt" ;;
    empty-accounts) : >"$s/save/account.txt" ;;
    missing-accounts) rm "$s/save/account.txt" ;;
    unreadable-athena) chmod 000 "$s/save/athena.txt" ;;
    commented-athena)
        insert_line "$s/save/athena.txt" 2 '// a note on the second character'
        insert_line "$s/save/athena.txt" 4 'a line no server wrote'
        ;;
    athena-high-newid) sed -i 's/^[0-9]*\t%newid%$/900000\t%newid%/' "$s/save/athena.txt" ;;
    huge-zeny) sed -i '1s/^\([^\t]*\t[^\t]*\t[^\t]*\t[^\t]*\t[^,]*,[^,]*,\)[0-9]*/\199999999999999999999/' \
        "$s/save/athena.txt" ;;
    empty-athena) : >"$s/save/athena.txt" ;;
    missing-athena) rm "$s/save/athena.txt" ;;
    bad-item-row) insert_line "$s/db/item_db.txt" 5 'hello world' ;;
    huge-item-row)
        { head -n 4 "$s/db/item_db.txt"
          head -c 10485760 /dev/zero | tr '\0' 'x'
          printf '\n'
          tail -n +5 "$s/db/item_db.txt"; } >"$s/db/item_db.tmp"
        mv "$s/db/item_db.tmp" "$s/db/item_db.txt"
        ;;
    empty-item-db) : >"$s/db/item_db.txt" ;;
    bad-ini-rows)
        sed -i 's/^\[skills\]\r$/[skills]\r\nnot,a,skill,row\r\n99999999999,1,0,Too Big\r/' "$p/tavo.ini"
        sed -i 's/^\[jobclass\]\r$/[jobclass]\r\n99999999999\tToo Big\r/' "$p/tavo.ini"
        ;;
    bad-card-rows) sed -i '2i\no hash here\r' "$p/cardprefixnametable.txt" ;;
    gm-above-99) printf '704555 150\n' >>"$s/conf/GM_account.txt" && sed -i '/^704555 80$/d' "$s/conf/GM_account.txt" ;;
    gm-comments-lf) insert_line "$s/conf/GM_account.txt" 1 '// kept as written' ;;
    missing-gm-file) rm "$s/conf/GM_account.txt" ;;
    *) echo "damage_demo: unknown kind $kind" >&2; return 1 ;;
    esac
}

snapshot() {
    (cd "$1" && {
        find . -type f ! -name tavo-cli -printf 'mode %m %p\n'
        find . -type f ! -name tavo-cli -print0 | xargs -0 sha256sum | sed 's/^\([0-9a-f]*\)  /sum \1 /'
    } | sort -k3,3 -k1,1)
}

unchanged_except() {
    local dir=$1 before=$2
    shift 2
    local allowed=" ${*/#/./} "
    local now
    now=$(snapshot "$dir")
    local differences
    differences=$(diff <(cat "$before") <(printf '%s\n' "$now") | sed -n 's/^[<>] //p' |
        awk '{print $3}' | sort -u | while read -r file; do
            [[ $allowed == *" $file "* ]] || echo "$file"
        done)
    if [ -n "$differences" ]; then
        echo "changed though not meant to: $differences"
        return 1
    fi
}

as_plain_user() {
    local dir=$1
    shift
    if [ "$(id -u)" -ne 0 ]; then
        "$@"
        return
    fi
    if [ "$(stat -c %u "$dir")" != 65534 ]; then
        # The tavo-cli binary may be a hard link to the built one: its owner stays.
        find "$dir" ! -name tavo-cli -exec chown 65534:65534 {} +
        local up=$dir
        while [ "$up" != / ]; do
            up=$(dirname "$up")
            chmod o+x "$up" 2>/dev/null
        done
    fi
    setpriv --reuid=65534 --regid=65534 --clear-groups "$@"
}
