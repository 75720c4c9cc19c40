#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (as root), builds, and runs every test and the
# fault suite; runs the tests again under the sanitizers and each fuzz target for a
# short time; builds the program without the window, with Qt out of reach, and runs
# its tests; then the packaging check installs the package, runs it and purges it,
# and last the Windows build is tested under wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/start-firebird.sh
# On a machine whose server keeps its own SYSDBA password, the tests and the program
# connect as the user the set-up made for them.
source scripts/firebird-user.sh
bash scripts/build.sh
ctest --test-dir build --output-on-failure -j"$(nproc)" --timeout 300 -LE fault
# Whole exports of a large table killed, stopped and starved on the way.
ctest --test-dir build --output-on-failure -L fault --timeout 600

# The suite again under AddressSanitizer and UndefinedBehaviorSanitizer (the fault
# suite stays with the plain build: it checks outcomes, not memory).
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRAVLINK_SANITIZE=ON \
  -DGRAVLINK_BENCHMARKS=OFF >/dev/null
cmake --build build-asan -j"$(nproc)"
ctest --test-dir build-asan --output-on-failure -j"$(nproc)" --timeout 600 -LE fault

# Each fuzz target for a short, fixed time.
bash scripts/fuzz.sh all 15

# What a server or a cross build makes: no window, and nothing may reach for Qt.
cmake -S . -B build-nowindow -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRAVLINK_WINDOW=OFF \
  -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=TRUE --no-warn-unused-cli >/dev/null
cmake --build build-nowindow -j"$(nproc)"
ctest --test-dir build-nowindow --output-on-failure -j"$(nproc)" --timeout 300 -LE fault

# The Debian package: built, checked, installed, run as an operator, purged.
bash scripts/test-package.sh

# The platform the sites run: the core and the unattended program for Windows,
# cross-built and tested under wine.
bash scripts/test-windows.sh
