#!/usr/bin/env bash
# Installs every Debian package gravlink needs to build, test, package and run its
# demo, and the locales its text tests use. With --windows also what the cross build
# for Windows and its tests under wine need. Idempotent; run as root.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  firebird3.0-server firebird3.0-utils firebird-dev libfbclient2
  qt6-translations-l10n
  locales xvfb xauth clang-format time valgrind
  # The sanitizer build and the fuzz targets.
  clang libclang-rt-14-dev
  # The packaging check: the package's own checkers and what it installs with.
  lintian desktop-file-utils librsvg2-bin systemd man-db adduser
)
if [[ ${1:-} == --windows ]]; then
  # mingw-w64 with POSIX threads (std::thread, std::mutex), wine to run what it
  # builds; GoogleTest is built from the googletest package's sources.
  packages=(cmake googletest locales g++-mingw-w64-x86-64-posix wine64)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
fi

wanted=(ru_RU.UTF-8 en_US.UTF-8 fr_FR.UTF-8)
regenerate=0
for l in "${wanted[@]}"; do
  if ! locale -a 2>/dev/null | grep -qix "${l/UTF-8/utf8}"; then
    sed -i "s/^# *\($l UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$l UTF-8" /etc/locale.gen || echo "$l UTF-8" >> /etc/locale.gen
    regenerate=1
  fi
done
((regenerate)) && locale-gen >/dev/null
echo "dependencies installed"
