# Shared by the tavo-cli test scripts. Set `cli` (the program) and `cli_args` (arguments before
# every command) before the first run. Sourcing makes `work`, a scratch folder removed at the
# end, unless the script made its own.
failures=0
[ -n "${cli_args+set}" ] || cli_args=()
if [ -z "${work:-}" ]; then
    work=$(mktemp -d /tmp/tavo-cli-test-XXXXXX)
    trap 'rm -rf "$work"' EXIT
fi

port_zero() {  # port_zero SERVER_FOLDER: its login, char and map servers on port 0, which the
    # running-server guard never finds listening, so a server running on this machine is not
    # taken for this folder's own
    local server
    for server in login char map; do
        printf '%s_port: 0\n' "$server" >"$1/conf/${server}_athena.conf" || exit 1
    done
}

demo_copy() {  # demo_copy TAVO_CLI DEMO_FOLDER: the demo's server and program folder in $work,
    # tavo-cli inside the program folder (where it finds tavo.ini and the card tables): `cli`
    cp -r "$2/server" "$work/server" && cp -r "$2/program" "$work/program" &&
        cp "$1" "$work/program/tavo-cli" || exit 1
    port_zero "$work/server"
    cli=$work/program/tavo-cli
}

run() {  # run EXPECTED_CODE ARGS...: runs tavo-cli, keeps its output in $out
    local expected=$1
    shift
    out=$("$cli" "${cli_args[@]}" "$@" 2>"$work/err")
    local code=$?
    if [ "$code" -ne "$expected" ]; then
        echo "FAIL: tavo-cli $* gave $code, expected $expected"
        cat "$work/err"
        failures=$((failures + 1))
    fi
}

check() {  # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if ! "$@"; then
        echo "FAIL: $what"
        failures=$((failures + 1))
    fi
}
