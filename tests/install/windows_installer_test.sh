#!/usr/bin/env bash
# The Windows installer under Wine, in a Wine prefix of its own: installed silently for the
# current user and then for all users, the installed thornbeck-cli.exe reads the sample, the
# installed thornbeck.exe starts offscreen on it and answers a second launch, and the silent
# uninstall leaves no file and no registry entry of it.
#   windows_installer_test.sh WINE INSTALLER SAMPLE WORK_FOLDER
set -euo pipefail
wine=$1
installer=$2
sample=$3
export WINEPREFIX=$(cd "$4" && pwd)/installer-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineserver=$(dirname "$wine")/wineserver
rm -rf "$WINEPREFIX"
"$wine" cmd /c exit >/dev/null 2>&1
# Wine's menu builder would copy the Start menu entry into this machine's own menus.
"$wine" reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /t REG_SZ /d '' /f \
  >/dev/null 2>&1
trap '"$wineserver" -k 2>/dev/null || true' EXIT
mkdir -p "$WINEPREFIX/drive_c/sample"
cp "$sample" "$WINEPREFIX/drive_c/sample/xRegistry.sys"
file='C:\sample\xRegistry.sys'
key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Thornbeck'

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# Traces of the program in the prefix's files (its instance lock lives in the user's folder
# while it runs) and, once Wine has written it out, in the registry.
traces() {
  "$wineserver" -w
  find "$WINEPREFIX/drive_c" -iname '*thornbeck*' ! -name thornbeck.lock
  grep -il thornbeck "$WINEPREFIX"/*.reg || true
}
[ -z "$(traces)" ] || fail "the fresh prefix already holds Thornbeck: $(traces)"

for mode in CurrentUser AllUsers; do
  echo "install /$mode"
  "$wine" "$installer" /S "/$mode" || fail "the installer failed (/$mode)"
  root=HKCU
  [ "$mode" = AllUsers ] && root=HKLM
  location=$("$wine" reg query "$root\\$key" /v InstallLocation 2>/dev/null |
    sed -n 's/.*REG_SZ *//p' | tr -d '\r')
  [ -n "$location" ] || fail "no uninstall entry under $root"
  folder=$("$wine" winepath -u "$location" 2>/dev/null | tr -d '\r')
  for name in thornbeck.exe thornbeck-cli.exe xRegistry_info.txt README.txt LICENSE.txt \
    Uninstall.exe; do
    [ -f "$folder/$name" ] || fail "$name is not in $location"
  done
  [ -n "$(find "$WINEPREFIX/drive_c" -name Thornbeck.lnk)" ] || fail "no Start menu entry"
  "$wine" reg query "$root\\Software\\Classes\\.sys\\OpenWithList\\thornbeck.exe" >/dev/null 2>&1 ||
    fail "Thornbeck is not under Open with for .sys files"

  info=$("$wine" "$folder/thornbeck-cli.exe" info "$file" | tr -d '\r')
  grep -q '^entries: *441$' <<<"$info" || fail "thornbeck-cli.exe info: $info"

  # The first copy starts on the file (the static platform plugins load, the window opens it)
  # and listens; a second launch ends with 0 only when it could hand the file to the first.
  "$wine" "$folder/thornbeck.exe" -platform offscreen "$file" &
  first=$!
  until [ -n "$(find "$WINEPREFIX/drive_c/users" -maxdepth 2 -name thornbeck.lock)" ]; do
    kill -0 "$first" 2>/dev/null || fail "thornbeck.exe ended at its start"
    sleep 0.5
  done
  "$wine" "$folder/thornbeck.exe" -platform offscreen "$file" ||
    fail "a second thornbeck.exe got no answer from the first"
  kill -0 "$first" 2>/dev/null || fail "the first thornbeck.exe ended"
  kill "$first"
  wait "$first" || true
  find "$WINEPREFIX/drive_c/users" -maxdepth 2 -name thornbeck.lock -delete

  echo "uninstall /$mode"
  # The uninstaller copies itself away and runs from there, so the call returns at once.
  "$wine" "$folder/Uninstall.exe" /S || fail "the uninstaller failed"
  while [ -e "$folder" ]; do sleep 0.5; done
  left=$(traces)
  [ -z "$left" ] || fail "left after uninstalling (/$mode): $left"
done
echo "installed, run and uninstalled for the current user and for all users"
