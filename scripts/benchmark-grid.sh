#!/usr/bin/env bash
# Browses a weighing table of 1,000,000 rows (or the count given) in the window's grid,
# on the offscreen platform, and prints against references of the same run: resident
# memory per row against the fetched buffer, the first screen's time, and fetching all
# rows into the grid against a bare fetch loop over the same select. Embedded, then
# through the server. Exit status 0 when every goal holds.
#   bash scripts/benchmark-grid.sh [rows]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh >/dev/null
bash scripts/start-firebird.sh >/dev/null
source scripts/firebird-user.sh
bash scripts/build.sh >/dev/null

rows=${1:-1000000}
work=$(mktemp -d /tmp/gravlink-grid-bench.XXXXXX)
chmod 777 "$work"
trap 'rm -rf "$work"' EXIT
db=$work/grid.fdb

isql-fb -q -b <<SQL >/dev/null
set names UTF8;
create database '$db' user '$FB_USER' password '$FB_PASSWORD' page_size 8192 default character set WIN1251;
create table WEIGHTS (IDR integer not null primary key, WEIGH_DT timestamp not null,
  CAR_NO varchar(12), CARGO varchar(40), GROSS numeric(15,2), TARE numeric(9,2),
  HUMIDITY double precision, CONFIRM char(1), EXPWDT timestamp);
commit;
set term ^;
execute block as
  declare n integer = 0;
begin
  while (n < $rows) do
  begin
    n = n + 1;
    insert into WEIGHTS values (:n, dateadd(minute, :n, timestamp '2026-03-01 05:00:00'),
      'К' || mod(:n, 900) || 'МН 50',
      case mod(:n, 3) when 0 then 'Ячмень' when 1 then 'Рожь озимая' else null end,
      20000 + mod(:n * 31, 9000) + 0.75, 10000 + mod(:n, 2500) + 0.25,
      12.25e0 + mod(:n, 5) / 4e0, 'Y', null);
  end
end^
set term ;^
commit;
SQL

echo "nproc $(nproc), load $(cut -d' ' -f1-3 /proc/loadavg)"
status=0
for conn in "$db" "localhost:$db"; do
  [ "$conn" = "$db" ] && echo "== embedded" || echo "== through the server"
  QT_QPA_PLATFORM=offscreen build/tests/gravlink-benchmark-grid "$conn" "select * from WEIGHTS" ||
    status=1
done
exit $status
