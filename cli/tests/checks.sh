# Shared by the tavo-cli test scripts. Set `cli` (the program), `cli_args` (arguments before
# every command) and `work` (a scratch folder) before sourcing.
failures=0

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
