#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR and checks what lands there: exactly the expected
# files, a desktop file and metainfo their validators accept, a man page man renders without
# a warning, and a completion that offers the program's commands, options and file names.
#   install_test.sh BUILD_DIR APP_ID VERSION
set -euo pipefail
build=$1 id=$2 version=$3
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

root=$scratch/root
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
actual=$(cd "$root" && find . \( -type f -o -type l \) -printf '%P\n' | LC_ALL=C sort)
expected=$(sed "s/@ID@/$id/g" "$here/expected-files.txt" | LC_ALL=C sort)
[ "$actual" = "$expected" ] ||
  fail "installed files differ from the list:$(diff <(echo "$expected") <(echo "$actual"))"

desktop-file-validate "$root/usr/share/applications/$id.desktop" ||
  fail "desktop-file-validate rejects the desktop file"
grep -qx 'Exec=thornbeck %f' "$root/usr/share/applications/$id.desktop" ||
  fail "the desktop file does not open a file given as %f"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" ||
  fail "appstreamcli rejects the metainfo"

cli=$root/usr/bin/thornbeck-cli
"$cli" --help >/dev/null || fail "the installed thornbeck-cli does not run"
mapfile -t commands < <("$cli" --help | awk '/^commands:/ {on = 1; next} on && /^$/ {exit} on {print $1}')
[ ${#commands[@]} -ge 7 ] || fail "thornbeck-cli --help lists ${#commands[@]} commands"

# man: renders without a warning, and every command and a long option come through intact.
page=$root/usr/share/man/man1/thornbeck-cli.1
rendered=$(MANWIDTH=100 man --warnings -l "$page" 2>"$scratch/man-warnings" | col -b)
[ ! -s "$scratch/man-warnings" ] || fail "man warns: $(cat "$scratch/man-warnings")"
grep -q '^NAME' <<<"$rendered" || fail "the man page has no NAME section"
grep -qE 'thornbeck-cli[[:space:]]+-[[:space:]]+Inspects' <<<"$rendered" || fail "the man page's NAME line is wrong"
for command in "${commands[@]}"; do
  grep -q "^   $command\$" <<<"$rendered" || fail "the man page lacks the command $command"
done
grep -q -- '--value-hex HEX' <<<"$rendered" || fail "the man page mangles the option --value-hex"

# The editor's own page renders without a warning, and the installed editor answers --help and
# --version without a display, where it would otherwise abort.
window_page=$root/usr/share/man/man1/thornbeck.1
rendered=$(MANWIDTH=100 man --warnings -l "$window_page" 2>"$scratch/man-warnings" | col -b)
[ ! -s "$scratch/man-warnings" ] || fail "man warns on thornbeck.1: $(cat "$scratch/man-warnings")"
grep -qE 'thornbeck[[:space:]]+-[[:space:]]+editor' <<<"$rendered" || fail "thornbeck.1's NAME line is wrong"
editor=$root/usr/bin/thornbeck
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$editor" --help | grep -q '^Usage: thornbeck' ||
  fail "thornbeck --help does not print its usage"
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$editor" --version)" = "thornbeck $version" ] ||
  fail "thornbeck --version is not 'thornbeck $version'"
status=0
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$editor" --colour 2>/dev/null || status=$?
[ "$status" -eq 2 ] || fail "an unknown option ends with $status, not 2"

# Completion: a fresh shell sources the installed file and asks for words.
completion=$root/usr/share/bash-completion/completions/thornbeck-cli
mkdir "$scratch/files" && touch "$scratch/files/xRegistry.sys" "$scratch/files/other.sys"
complete_words() {
  (cd "$scratch/files" && bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1));
    _thornbeck_cli; for word in "${COMPREPLY[@]}"; do echo "$word"; done | LC_ALL=C sort | tr "\n" " "' _ \
    "$completion" "$@")
}
[ "$(complete_words thornbeck-cli '')" = "$(printf '%s\n' "${commands[@]}" --help | LC_ALL=C sort | tr '\n' ' ')" ] ||
  fail "completion of a command: $(complete_words thornbeck-cli '')"
[ "$(complete_words thornbeck-cli se)" = "set " ] || fail "completion of se: $(complete_words thornbeck-cli se)"
[ "$(complete_words thornbeck-cli set x.sys /k --value-)" = "--value-hex " ] ||
  fail "completion of set's options: $(complete_words thornbeck-cli set x.sys /k --value-)"
[ "$(complete_words thornbeck-cli list xRegistry.sys --format j)" = "json " ] ||
  fail "completion of --format: $(complete_words thornbeck-cli list xRegistry.sys --format j)"
[ "$(complete_words thornbeck-cli info xR)" = "xRegistry.sys " ] ||
  fail "completion of a file name: $(complete_words thornbeck-cli info xR)"
[ "$(complete_words thornbeck-cli set xRegistry.sys /k -o o)" = "other.sys " ] ||
  fail "completion of -o's file: $(complete_words thornbeck-cli set xRegistry.sys /k -o o)"
[ -z "$(complete_words thornbeck-cli set xRegistry.sys /k --size '')" ] ||
  fail "completion offers words for a number"
echo "installed: $(wc -l <<<"$actual") files; desktop file, metainfo, man page and completion pass"
