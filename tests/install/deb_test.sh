#!/usr/bin/env bash
# Builds the .deb with cpack and checks it with dpkg-deb: its name, dependencies and files.
#   deb_test.sh BUILD_DIR APP_ID
set -euo pipefail
build=$1 id=$2
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$scratch" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch" >/dev/null) ||
  fail "cpack -G DEB failed"
debs=("$scratch"/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single .deb: ${debs[*]}"
deb=${debs[0]}

info=$(dpkg-deb --info "$deb")
grep -q '^ Package: thornbeck$' <<<"$info" || fail "the package is not named thornbeck"
grep -q "^ Architecture: $(dpkg --print-architecture)\$" <<<"$info" || fail "wrong architecture"
depends=$(sed -n 's/^ Depends: //p' <<<"$info")
names=$(tr ',' '\n' <<<"$depends" | awk '{print $1}')
# What the programs link and the SVG plugin that draws the window's icon.
for package in libc6 libstdc++6 libgcc-s1 libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6; do
  grep -qxF "$package" <<<"$names" || fail "Depends lacks $package: $depends"
done
# Nothing the build uses alone.
for package in libgtest-dev libbenchmark1debian qt6-base-dev; do
  ! grep -qxF "$package" <<<"$names" || fail "Depends names $package: $depends"
done

actual=$(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {sub(/^\.\//, "", $6); print $6}' | LC_ALL=C sort)
expected=$(sed "s/@ID@/$id/g" "$here/expected-files.txt" | LC_ALL=C sort)
[ "$actual" = "$expected" ] ||
  fail "the package's files differ from the list:$(diff <(echo "$expected") <(echo "$actual"))"
echo "$(basename "$deb"): Depends: $depends"
