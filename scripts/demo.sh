#!/usr/bin/env bash
# Builds gravlink and runs one unattended export of a small bundled weighing
# database (embedded: no server), then shows what it exported and stamped.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/demo-site.sh
bash scripts/install-deps.sh >/dev/null
bash scripts/build.sh >/dev/null

run=$PWD/demo-run
rm -rf "$run"
mkdir -p "$run/out"
cp build/gravlink "$run/"
db=$run/weighing.fdb

demo_database "$db"
demo_settings "$db" "$run/out" \
  "select IDR, WEIGH_DT, CAR_NO, DRIVER, CARGO, GROSS, TARE, NETT, HUMIDITY from WEIGHTS where EXPWDT is null order by IDR" \
  > "$run/gravlink.ini"

echo "== gravlink -auto (in $run)"
status=0
(cd "$run" && env -u DISPLAY -u WAYLAND_DISPLAY ./gravlink -auto) || status=$?
echo "exit status: $status"

if [ -f "$run/out/gravout.cvs" ]; then
  echo "== exported lines ($run/out/gravout.cvs, shown in UTF-8)"
  iconv -f WINDOWS-1251 -t UTF-8 "$run/out/gravout.cvs" | tr -d '\r'
  echo "== $(wc -l < "$run/out/gravout.cvs") lines exported"
else
  echo "== no export file was written"
fi
echo "== records stamped by this run"
demo_stamped_now "$db"
if [ -f "$run/error.log" ]; then
  echo "== error.log"
  iconv -f WINDOWS-1251 -t UTF-8 "$run/error.log" | tr -d '\r'
fi
exit "$status"
