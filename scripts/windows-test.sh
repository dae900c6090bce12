#!/usr/bin/env bash
# Cross-builds Thornbeck for 64-bit Windows with MinGW-w64 against Debian's own Qt built for
# Windows (scripts/build-qt-windows.sh, cached): thornbeck.exe, thornbeck-cli.exe, every test,
# the zip and the installer. Then runs the tests under Wine, the window's offscreen.
# scripts/test.sh calls it; scripts/install-deps.sh installs what it needs.
set -euo pipefail
cd "$(dirname "$0")/.."

qt=$(bash scripts/build-qt-windows.sh | tail -n 1)
build=build-windows
# Qt's toolchain file finds its host tools and chains to ours, named here because the cached
# Qt may have been built from another checkout.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" -DTHORNBECK_BENCH=OFF

# A Wine of our own in the build folder, quiet, without the .NET and browser installers. The
# build runs the sample writer under it, and CTest the tests.
export WINEPREFIX="$PWD/$build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=$(sed -n 's/^THORNBECK_WINE:FILEPATH=//p' "$build/CMakeCache.txt")
if [ -z "$wine" ] || [ ! -x "$wine" ]; then
  echo "windows-test.sh: Wine (wine64) is not installed; run scripts/install-deps.sh" >&2
  exit 1
fi
"$wine" cmd /c exit >/dev/null 2>&1 || { echo "windows-test.sh: Wine does not start" >&2; exit 1; }
# Wine hands the programs no QT_* variables from here; Qt's offscreen platform finds its fonts
# through the prefix's own environment.
"$wine" reg add 'HKCU\Environment' /v QT_QPA_FONTDIR /t REG_SZ /f \
  /d "$("$wine" winepath -w /usr/share/fonts/truetype/dejavu | tr -d '\r')" >/dev/null 2>&1

cmake --build "$build"
(cd "$build" && cpack -G ZIP >/dev/null)
# The zip holds the two programs, the key descriptions, the README and the licence.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
zip=$build/thornbeck-$version-windows-x64.zip
listed=$(cmake -E tar tf "$zip" | sed 's|^[^/]*/||' | grep -v '/$' | sort | tr '\n' ' ')
expected="LICENSE.txt README.txt thornbeck-cli.exe thornbeck.exe xRegistry_info.txt "
if [ "$listed" != "$expected" ]; then
  echo "windows-test.sh: $zip holds: $listed; expected: $expected" >&2
  exit 1
fi

# Both programs stand alone (only Windows' own DLLs, no MinGW runtime, no Qt DLL) and carry
# their version information; the window carries its icon. Each tool's output is kept before it
# is searched, so a missing tool or a failed read stops the script instead of passing the check.
for tool in x86_64-w64-mingw32-objdump wrestool; do
  command -v "$tool" >/dev/null ||
    { echo "windows-test.sh: $tool is missing; run scripts/install-deps.sh" >&2; exit 1; }
done
for program in thornbeck.exe thornbeck-cli.exe; do
  imports=$(x86_64-w64-mingw32-objdump -p "$build/$program")
  grep -q 'DLL Name:' <<<"$imports" ||
    { echo "windows-test.sh: objdump lists no imports of $program" >&2; exit 1; }
  if grep -iE 'DLL Name: *(lib|Qt6)' <<<"$imports"; then
    echo "windows-test.sh: $program needs the DLLs above" >&2
    exit 1
  fi
  resources=$(wrestool -l "$build/$program")
  grep -q 'type=version' <<<"$resources" ||
    { echo "windows-test.sh: $program has no version information" >&2; exit 1; }
done
resources=$(wrestool -l "$build/thornbeck.exe")
grep -q "name='IDI_ICON1'" <<<"$resources" ||
  { echo "windows-test.sh: thornbeck.exe has no icon" >&2; exit 1; }

# Wine has, once in many runs, ended a test at its start with no output (0.01 s, on a test
# that passed natively in the same run). Tests that fail are tried once more, alone, and named
# here first, so that a test of ours that fails now and then stays visible in the log; a test
# that really fails, fails both times.
if ! ctest --test-dir "$build" --output-on-failure -j 2; then
  echo "windows-test.sh: these tests failed under Wine and are tried once more:"
  sed 's/^[0-9]*:/  /' "$build/Testing/Temporary/LastTestsFailed.log"
  ctest --test-dir "$build" --output-on-failure --rerun-failed
fi
# Wine's server for this prefix lingers a few seconds; end it now.
"$(dirname "$wine")/wineserver" -k 2>/dev/null || true
