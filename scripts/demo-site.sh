# The demo's database and settings, shared by the scripts that run the program
# over it (demo.sh, screenshots.sh, test-package.sh). Sourced, not run.

source scripts/firebird-user.sh

# Creates the demo weighing database at a connect string (a path, or host:path).
demo_database() {
  { echo "set names UTF8;"
    echo "create database '$1' user '$FB_USER' password '$FB_PASSWORD' default character set WIN1251;"
    cat demo/weighing.sql; } | isql-fb -q -b
}

# Prints a settings file over the demo table: DBName, ExportDataDir, SqlSelect.
demo_settings() {
  cat <<INI
<?xml version='1.0' encoding='ISO-8859-1' ?>
<root>
  <Config>
    <DBName>$1</DBName>
    <ExportDataDir>$2</ExportDataDir>
    <ExportFieldName>ExpWDT</ExportFieldName>
    <ExportTableName>WEIGHTS</ExportTableName>
    <ExportDateFN>WEIGH_DT</ExportDateFN>
    <SqlSelect>$3</SqlSelect>
    <SqlSelectWP>select * from WEIGHTS where 1=1</SqlSelectWP>
    <SqlUpdate/>
    <SqlAutoExt/>
  </Config>
</root>
INI
}

# The records of the demo database stamped since it was made, as isql-fb prints them.
demo_stamped_now() {
  echo "connect '$1' user '$FB_USER' password '$FB_PASSWORD';
select count(*) as STAMPED_NOW from WEIGHTS where EXPWDT is distinct from timestamp '2026-12-09 20:00:00' and EXPWDT is not null;" | isql-fb -q
}
