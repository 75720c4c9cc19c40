#!/usr/bin/env bash
# Builds the Debian package of gravlink: build/gravlink_<version>_amd64.deb.
#   bash scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
(cd build && cpack -G DEB >/dev/null)
ls build/gravlink_*_amd64.deb
