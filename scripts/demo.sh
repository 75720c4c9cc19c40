#!/usr/bin/env bash
# Builds gravlink and runs one unattended export of a small bundled weighing
# database (embedded: no server), then shows what it exported and stamped.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh >/dev/null
bash scripts/build.sh >/dev/null

run=$PWD/demo-run
rm -rf "$run"
mkdir -p "$run/out"
cp build/gravlink "$run/"
db=$run/weighing.fdb

{ echo "set names UTF8;"; echo "create database '$db' user 'SYSDBA' password 'quillbark' default character set WIN1251;"
  cat demo/weighing.sql; } | isql-fb -q -b

cat > "$run/gravlink.ini" <<INI
<?xml version='1.0' encoding='ISO-8859-1' ?>
<root>
  <Config>
    <DBName>$db</DBName>
    <ExportDataDir>$run/out</ExportDataDir>
    <ExportFieldName>ExpWDT</ExportFieldName>
    <ExportTableName>WEIGHTS</ExportTableName>
    <ExportDateFN>WEIGH_DT</ExportDateFN>
    <SqlSelect>select IDR, WEIGH_DT, CAR_NO, DRIVER, CARGO, GROSS, TARE, NETT, HUMIDITY from WEIGHTS where EXPWDT is null order by IDR</SqlSelect>
    <SqlSelectWP>select * from WEIGHTS where 1=1</SqlSelectWP>
    <SqlUpdate/>
    <SqlAutoExt/>
  </Config>
</root>
INI

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
echo "connect '$db' user 'SYSDBA' password 'quillbark';
select count(*) as STAMPED_NOW from WEIGHTS where EXPWDT is distinct from timestamp '2026-12-09 20:00:00' and EXPWDT is not null;" | isql-fb -q
if [ -f "$run/error.log" ]; then
  echo "== error.log"
  iconv -f WINDOWS-1251 -t UTF-8 "$run/error.log" | tr -d '\r'
fi
exit "$status"
