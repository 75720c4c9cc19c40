#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (as root), builds, and runs every test; then
# builds the program without the window, with Qt out of reach, and runs its tests;
# last the packaging check installs the package, runs it and purges it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/start-firebird.sh
bash scripts/build.sh
ctest --test-dir build --output-on-failure -j"$(nproc)" --timeout 300

# What a server or a cross build makes: no window, and nothing may reach for Qt.
cmake -S . -B build-nowindow -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRAVLINK_WINDOW=OFF \
  -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=TRUE --no-warn-unused-cli >/dev/null
cmake --build build-nowindow -j"$(nproc)"
ctest --test-dir build-nowindow --output-on-failure -j"$(nproc)" --timeout 300

# The Debian package: built, checked, installed, run as an operator, purged.
bash scripts/test-package.sh

# The platform the sites run: the core and the unattended program for Windows,
# cross-built and tested under wine.
bash scripts/test-windows.sh
