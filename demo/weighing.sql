-- A small weighing database for the demo: lorries weighed in and out, some
-- already handed on (stamped in EXPWDT), some with readings missing. Read as
-- UTF-8: the connection that creates the database says so (set names UTF8).

create table WEIGHTS (
  IDR integer not null primary key,
  WEIGH_DT timestamp not null,
  CAR_NO varchar(12),
  DRIVER varchar(40),
  CARGO varchar(40),
  GROSS numeric(15,2),
  TARE numeric(15,2),
  NETT numeric(15,2),
  HUMIDITY double precision,
  CONFIRM char(1),
  EXPWDT timestamp
);
commit;

set term ^;
execute block as
  declare i integer = 1;
  declare gross numeric(15,2);
  declare tare numeric(15,2);
begin
  while (i <= 36) do
  begin
    gross = 24000 + mod(i * 7919, 16000) + mod(i, 4) * 0.25;
    tare = 11000 + mod(i * 104729, 3000) + mod(i, 2) * 0.5;
    insert into WEIGHTS (IDR, WEIGH_DT, CAR_NO, DRIVER, CARGO, GROSS, TARE, NETT, HUMIDITY, CONFIRM)
    values (
      :i,
      dateadd(minute, :i * 37, timestamp '2026-12-09 06:00:00'),
      case mod(:i, 3) when 0 then 'А' || (100 + :i) || 'ВС 77' when 1 then 'К' || (200 + :i) || 'МН 50' else 'О' || (300 + :i) || 'РТ 33' end,
      case mod(:i, 4) when 0 then 'Иванов И.И.' when 1 then 'Петров П.П.' when 2 then 'Сидоров С.С.' else null end,
      case mod(:i, 5) when 0 then 'Пшеница 3 кл.' when 1 then 'Ячмень' when 2 then 'Подсолнечник' when 3 then 'Рожь' else 'Кукуруза' end,
      :gross,
      case when mod(:i, 9) = 0 then null else :tare end,
      case when mod(:i, 9) = 0 then null else :gross - :tare end,
      case when mod(:i, 6) = 0 then null else 11.5e0 + mod(:i, 7) / 3e0 end,
      case when mod(:i, 10) = 0 then 'N' else 'Y' end);
    i = i + 1;
  end
end^
set term ;^

-- The first six went out with yesterday's export.
update WEIGHTS set EXPWDT = timestamp '2026-12-09 20:00:00' where IDR <= 6;
commit;
