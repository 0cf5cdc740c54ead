#!/usr/bin/env bash
# Installs the build into a scratch prefix and runs the installed programs from there: their
# versions, and tavo-cli on a copy of the demo server with the program folder files found in
# share/tavo. The settings go to a scratch config folder, never the user's own.
#   install_test.sh BUILD_DIR DEMO_FOLDER
set -uo pipefail
work=$(mktemp -d /tmp/tavo-install-test-XXXXXX)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
export HOME=$work/home XDG_CONFIG_HOME=$work/config
cp -r "$2/server" "$work/server"
# The tavo-cli test scripts' checks (`check`, `run`); $work stays this script's own.
source "$(dirname "$0")/../cli/tests/checks.sh"
port_zero "$work/server"

cmake --install "$1" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; exit 1; }
for file in bin/tavo-cli share/tavo/tavo.ini share/tavo/class-skill.txt \
            share/tavo/cardprefixnametable.txt share/tavo/cardpostfixnametable.txt; do
    check "$file installed" test -f "$prefix/$file"
done
check "the settings template names no demo folder" grep -q $'^eafolder\t/home/eathena/server/' \
      "$prefix/share/tavo/tavo.ini"

version=$("$prefix/bin/tavo-cli" --version)
check "tavo-cli --version" test "$version" = "tavo-cli $(sed -n 's/^project(Tavo VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../CMakeLists.txt")"
info=$("$prefix/bin/tavo-cli" --data "$work/server" info 2>"$work/err")
check "info runs from the prefix" test $? -eq 0
check "class names from share/tavo" grep -qE '^Job classes : [1-9]' <<<"$info"
check "card names from share/tavo" grep -qE '^Card names : [1-9]' <<<"$info"
check "no start-up note" test ! -s "$work/err"

if [ -x "$1/ui/tavo" ]; then
    check "tavo --version" test "$("$prefix/bin/tavo" --version)" = "${version/tavo-cli/tavo}"
    check "desktop entry" grep -q '^Exec=tavo$' "$prefix/share/applications/tavo.desktop"
    check "icon" test -f "$prefix/share/icons/hicolor/scalable/apps/tavo.svg"
fi

[ "$failures" -eq 0 ] && echo "install: all checks passed"
exit "$failures"
