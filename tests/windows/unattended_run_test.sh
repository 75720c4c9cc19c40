#!/usr/bin/env bash
# gravlink.exe -auto under wine, as the Task Scheduler starts it on a site: it ends by
# itself, writes its settings file and error log with CR LF line ends, and names the
# Cyrillic folders of its settings on disk. No Firebird client is installed here.
# Usage: unattended_run_test.sh gravlink.exe wine [wine arguments...]
set -euo pipefail
program=$1
shift
emulator=("$@")
: "${WINEPREFIX:?a wine prefix of its own}"

work=$(mktemp -d)
drive="$WINEPREFIX/dosdevices/t:"
trap 'rm -rf "$work" "$drive"' EXIT
# The runs get a drive of their own: an empty export folder means the root of the
# current drive.
ln -sfn "$work" "$drive"

failures=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}
win1251() { printf '%s' "$1" | iconv -f UTF-8 -t CP1251; }
# Runs the program in T:\<folder> with the given locale; sets status.
run() {
    local folder=$1 locale=$2
    cp "$program" "$work/$folder/gravlink.exe"
    status=0
    (cd "$work/$folder" &&
        LC_ALL=$locale LANG=$locale timeout 120 "${emulator[@]}" cmd /c \
            "cd /d T:\\$folder && gravlink.exe -auto") >"$work/$folder.out" 2>&1 || status=$?
}
crlf_only() { # every line of the file ends with CR LF, and no CR stands alone
    local file=$1
    [[ -s $file ]] || return 1
    ! LC_ALL=C grep -q $'\r\r' "$file" &&
        [[ $(LC_ALL=C tr -cd '\n' <"$file" | wc -c) == $(LC_ALL=C grep -c $'\r$' "$file") ]] &&
        [[ $(LC_ALL=C tr -cd '\r' <"$file" | wc -c) == $(LC_ALL=C tr -cd '\n' <"$file" | wc -c) ]]
}
without_times() { LC_ALL=C sed -E 's/^[0-9][0-9./]+ [0-9:]+( [AP]M)?: /T: /' "$1"; }

connect_failed="$(win1251 'Ошибка подключения к базе данных.')"$'\r\n'"$(win1251 'Проверьте параметры подключения.')"
operation_failed="$(win1251 'Ошибка выполнения операции.')"
not_open='frmMain.dbsGrav: Cannot perform operation -- DB is not open.'

# 1. An empty folder: nine empty settings are written, both failures are logged.
mkdir "$work/empty"
run empty en_US.UTF-8
[[ $status == 1 ]] || fail "empty folder: status $status, not 1: $(cat "$work/empty.out")"
printf '%s\r\n' "<?xml version='1.0' encoding='ISO-8859-1' ?>" '<root>' '  <Config>' \
    '    <DBName/>' '    <ExportDataDir/>' '    <ExportFieldName/>' '    <ExportTableName/>' \
    '    <ExportDateFN/>' '    <SqlSelect/>' '    <SqlSelectWP/>' '    <SqlUpdate/>' \
    '    <SqlAutoExt/>' '  </Config>' >"$work/expected.ini"
printf '</root>' >>"$work/expected.ini"
cmp -s "$work/expected.ini" "$work/empty/gravlink.ini" ||
    fail "empty folder: gravlink.ini is not the nine empty settings: $(od -c "$work/empty/gravlink.ini" | head)"
printf 'T: %s\r\n%s\r\nT: %s\r\n%s\r\n' "$connect_failed" 'Database name is missing.' \
    "$operation_failed" "$not_open" >"$work/expected.log"
cmp -s "$work/expected.log" <(without_times "$work/empty/error.log") ||
    fail "empty folder: error.log: $(od -c "$work/empty/error.log" | head -20)"
crlf_only "$work/empty/error.log" || fail "empty folder: error.log has other line ends than CR LF"
# The export file of an empty folder setting lies in the root of the current drive.
[[ -f $work/gravout.cvs && ! -s $work/gravout.cvs ]] || fail "no empty T:\\gravout.cvs"

# 2. A database but no client library, a Cyrillic export folder, Russian settings.
mkdir "$work/site" "$work/Выгрузка"
printf '%s\r\n' "<?xml version='1.0' encoding='ISO-8859-1' ?>" '<root>' '  <Config>' \
    "    <DBName>localhost:C:\\$(win1251 'Весы')\\grav.fdb</DBName>" \
    "    <ExportDataDir>T:\\$(win1251 'Выгрузка')</ExportDataDir>" \
    '    <ExportFieldName>ExpDT</ExportFieldName>' '    <ExportTableName>STAT</ExportTableName>' \
    '    <ExportDateFN/>' '    <SqlSelect>select * from STAT</SqlSelect>' '    <SqlSelectWP/>' \
    '    <SqlUpdate/>' '    <SqlAutoExt/>' '  </Config>' >"$work/site/gravlink.ini"
printf '</root>' >>"$work/site/gravlink.ini"
cp "$work/site/gravlink.ini" "$work/site.ini"
run site ru_RU.UTF-8
[[ $status == 1 ]] || fail "no client library: status $status, not 1: $(cat "$work/site.out")"
printf 'T: %s\r\n%s\r\nT: %s\r\n%s\r\n' "$connect_failed" "Can't load library gds32.dll " \
    "$operation_failed" "$not_open" >"$work/expected.log"
cmp -s "$work/expected.log" <(without_times "$work/site/error.log") ||
    fail "no client library: error.log: $(od -c "$work/site/error.log" | head -20)"
crlf_only "$work/site/error.log" || fail "no client library: error.log has other line ends"
cmp -s "$work/site.ini" "$work/site/gravlink.ini" ||
    fail "no client library: gravlink.ini was not written back as it was read"
[[ -f "$work/Выгрузка/gravout.cvs" ]] ||
    fail "the Cyrillic export folder got no gravout.cvs: $(ls -R "$work")"
# The user's regional settings give the timestamps: Russian dates here.
LC_ALL=C grep -qE '^[0-9]{2}\.[0-9]{2}\.[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}: ' "$work/site/error.log" ||
    fail "no Russian timestamp in error.log: $(head -1 "$work/site/error.log")"

if ((failures)); then
    exit 1
fi
echo "gravlink.exe -auto under wine: as on Linux"
