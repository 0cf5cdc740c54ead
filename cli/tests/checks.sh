# Shared by the tavo-cli test scripts. Set `cli` (the program) and `cli_args` (arguments before
# every command) before the first run. Sourcing makes `work`, a scratch folder removed at the
# end, unless the script made its own.
failures=0
[ -n "${cli_args+set}" ] || cli_args=()
if [ -z "${work:-}" ]; then
    work=$(mktemp -d /tmp/tavo-cli-test-XXXXXX)
    trap 'rm -rf "$work"' EXIT
fi

demo_copy() {  # demo_copy TAVO_CLI DEMO_FOLDER: the demo's server and program folder in $work,
    # tavo-cli inside the program folder (where it finds tavo.ini and the card tables): `cli`
    cp -r "$2/server" "$work/server" && cp -r "$2/program" "$work/program" &&
        cp "$1" "$work/program/tavo-cli" || exit 1
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
