#!/usr/bin/env bash
# Times an unattended export of a weighing table against isql-fb writing the same
# select to a file, embedded and through the server, at 100,000 and 1,000,000
# rows, and reports rows per second, the ratio and each side's peak memory.
# Every record is stamped already, so the stamping update finds nothing to do.
#   bash scripts/benchmark.sh [rows ...]      (default: 100000 1000000)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh >/dev/null
bash scripts/start-firebird.sh >/dev/null
bash scripts/build.sh >/dev/null

sizes=("$@")
((${#sizes[@]})) || sizes=(100000 1000000)
work=$(mktemp -d /tmp/gravlink-bench.XXXXXX)
chmod 777 "$work"
trap 'rm -rf "$work"' EXIT
cp build/gravlink "$work/"
select="select * from WEIGHTS"

create_table() { # connect-string rows
  isql-fb -q -b <<SQL
set names UTF8;
create database '$1' user 'SYSDBA' password 'quillbark' page_size 8192 default character set WIN1251;
create table WEIGHTS (
  IDR integer not null primary key, WEIGH_DT timestamp not null, CAR_NO varchar(12),
  CARGO varchar(40), GROSS numeric(15,2), TARE numeric(9,2), HUMIDITY double precision,
  CONFIRM char(1), EXPWDT timestamp);
commit;
set term ^;
execute block as
  declare i integer = 1;
begin
  while (i <= $2) do
  begin
    insert into WEIGHTS values (:i, dateadd(second, :i * 17, timestamp '2026-01-01 06:00:00'),
      'А' || mod(:i, 1000) || 'ВС 77',
      case mod(:i, 4) when 0 then 'Пшеница 3 кл.' when 1 then 'Ячмень' when 2 then null else 'Подсолнечник' end,
      24000 + mod(:i * 7919, 16000) + mod(:i, 4) * 0.25,
      case when mod(:i, 9) = 0 then null else 11000 + mod(:i, 3000) + 0.5 end,
      case when mod(:i, 6) = 0 then null else 11.5e0 + mod(:i, 7) / 3e0 end,
      'Y', timestamp '2026-01-02 00:00:00');
    i = i + 1;
  end
end^
set term ;^
commit;
SQL
}

peak() { sed -n 's/^peak_kib=//p' "$1"; }
secs() { sed -n 's/^elapsed=//p' "$1"; }

printf '%-9s %-9s %12s %12s %7s %12s %12s\n' access rows "gravlink r/s" "isql r/s" ratio "gravlink MiB" "isql MiB"
for access in embedded server; do
  for rows in "${sizes[@]}"; do
    db=$work/bench-$access-$rows.fdb
    conn=$db
    [ "$access" = server ] && conn=localhost:$db
    create_table "$conn" "$rows" >/dev/null
    out=$work/out-$access-$rows
    mkdir -p "$out"
    cat > "$work/gravlink.ini" <<INI
<root><Config><DBName>$conn</DBName><ExportDataDir>$out</ExportDataDir>
<ExportFieldName>ExpWDT</ExportFieldName><ExportTableName>WEIGHTS</ExportTableName>
<SqlSelect>$select</SqlSelect></Config></root>
INI
    (cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/time -f 'elapsed=%e
peak_kib=%M' -o "$work/g.time" ./gravlink -auto)
    lines=$(wc -l < "$out/gravout.cvs")
    [ "$lines" -eq "$rows" ] || { echo "gravlink wrote $lines lines of $rows" >&2; exit 1; }
    printf 'set heading off;\n%s;\n' "$select" > "$work/q.sql"
    /usr/bin/time -f 'elapsed=%e
peak_kib=%M' -o "$work/i.time" \
      isql-fb -q -user SYSDBA -password quillbark "$conn" -i "$work/q.sql" -o "$work/isql.out"
    g=$(secs "$work/g.time"); i=$(secs "$work/i.time")
    awk -v a="$access" -v r="$rows" -v g="$g" -v i="$i" -v gm="$(peak "$work/g.time")" -v im="$(peak "$work/i.time")" \
      'BEGIN { gs = (g > 0 ? r / g : 0); is = (i > 0 ? r / i : 0);
               printf "%-9s %-9d %12.0f %12.0f %6.2fx %12.1f %12.1f\n", a, r, gs, is, (gs > 0 && is > 0 ? gs / is : 0), gm / 1024, im / 1024 }'
    rm -f "$db" "$out/gravout.cvs" "$work/isql.out"
  done
done
