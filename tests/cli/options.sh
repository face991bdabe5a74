#!/usr/bin/env bash
# The command line as a user and a desktop see it: --version and --help answer on stdout and
# exit 0; a wrong option exits 2 with its error and the hint on stderr, nothing on stdout;
# --autostart on|off writes and removes the login entry, a valid desktop entry that starts
# this very program with the other options given.
set -euo pipefail
lark="$1"
server="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

for program in "$lark" "$server"; do
  name="$(basename "$program")"
  [ "$("$program" --version)" = "$name 2.0.0" ] || fail "$name --version"
  "$program" --help | grep -q "^Usage: $name" || fail "$name --help"
  set +e
  "$program" --no-such-option > "$work/out" 2> "$work/err"
  code=$?
  set -e
  [ "$code" -eq 2 ] || fail "$name with a wrong option exited $code"
  [ ! -s "$work/out" ] || fail "$name with a wrong option wrote to stdout"
  [ "$(wc -l < "$work/err")" -eq 2 ] && grep -q -- "--no-such-option" <(head -1 "$work/err") \
    && [ "$(tail -1 "$work/err")" = "Try '$name --help' for more information." ] \
    || fail "$name wrong-option message: $(cat "$work/err")"
done

export XDG_CONFIG_HOME="$work/config"
entry="$XDG_CONFIG_HOME/autostart/lark.desktop"
# A relative settings folder goes into the entry whole: the login starts Lark elsewhere.
(cd "$work" && "$(realpath "$lark")" --quote-server 127.0.0.1:8080 --autostart on --registry "my settings") > /dev/null
[ -f "$entry" ] || fail "no autostart entry"
expected="Exec=$(realpath "$lark") --quote-server 127.0.0.1:8080 --registry \"$work/my settings\""
grep -qxF "$expected" "$entry" || fail "Exec line: $(grep '^Exec' "$entry")"
if command -v desktop-file-validate > /dev/null; then
  desktop-file-validate "$entry" || fail "desktop-file-validate"
fi
"$lark" --autostart off > /dev/null
[ ! -e "$entry" ] || fail "autostart entry left after off"
"$lark" --autostart off > /dev/null || fail "off without an entry"
echo "1 passed, 0 failed"
