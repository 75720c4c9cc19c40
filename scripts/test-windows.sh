#!/usr/bin/env bash
# Cross-builds for 64-bit Windows what runs at the sites without a window: the core,
# the unattended program gravlink.exe (statically linked: no DLL comes with it) and
# every test that needs no database, and runs them under wine. Sets up what it needs
# on Debian 12 (as root). There is no Firebird for Windows here: the database tests
# and the window stay with the Linux build.
set -euo pipefail
cd "$(dirname "$0")/.."

# The Russian timestamps of the error log come from the user's locale, which wine
# takes from the environment: install-deps.sh generates ru_RU.UTF-8.
bash scripts/install-deps.sh --windows

build=build-windows
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRAVLINK_WINDOW=OFF -DCMAKE_CROSSCOMPILING_EMULATOR=wine \
  >/dev/null
cmake --build "$build" -j"$(nproc)"

# A wine of its own under the build folder, made once, with no display: console
# programs need none. Nothing is asked for (no Mono, no Gecko).
export WINEPREFIX="$PWD/$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
if [[ ! -f $WINEPREFIX/system.reg ]]; then
  wineboot --init >/dev/null 2>&1 || true
  wineserver --wait
fi
ctest --test-dir "$build" --output-on-failure -j1 --timeout 600
