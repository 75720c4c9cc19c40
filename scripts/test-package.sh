#!/usr/bin/env bash
# The packaging check, as root on a Debian 12 machine: builds the package, checks it
# with lintian, installs it, runs the unattended export as an ordinary operator of the
# gravlink group over the demo database (through the local Firebird server), checks
# the desktop entry, the scheduler units and the manual page, then removes and purges
# it and finds no file of it left behind. It installs into the system: run it on a
# machine where /opt/gravlink is free. Called by scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/demo-site.sh
[ "$(id -u)" -eq 0 ] || { echo "test-package.sh: run as root" >&2; exit 1; }
if dpkg-query -W -f='${Status}' gravlink 2>/dev/null | grep -q 'installed'; then
  echo "test-package.sh: a gravlink package is installed already; remove it first" >&2
  exit 1
fi

failures=0
check() { # description command...
  local what=$1; shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what" >&2; failures=$((failures + 1)); fi
}

operator=gravlink-op$$
outsider=gravlink-out$$
work=$(mktemp -d /tmp/gravlink-package.XXXXXX)
chmod 755 "$work"
cleanup() {
  dpkg --purge gravlink >/dev/null 2>&1 || true
  rm -rf /opt/gravlink "$work"
  userdel "$operator" 2>/dev/null || true
  userdel "$outsider" 2>/dev/null || true
  # Left only if a purge above had the site's files still in the folder.
  getent passwd gravlink >/dev/null && deluser --system --quiet gravlink >/dev/null 2>&1
  getent group gravlink >/dev/null && delgroup --system --quiet gravlink >/dev/null 2>&1
  true
}
trap cleanup EXIT

bash scripts/package.sh >/dev/null
deb=$(ls build/gravlink_*_amd64.deb)
echo "== $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends

echo "== lintian"
lintian --fail-on error --display-info "$deb" || failures=$((failures + 1))

echo "== install"
apt-get install -y -qq "./$deb" >/dev/null
check "/opt/gravlink is root:gravlink, mode 2775" \
  test "$(stat -c '%U:%G %a' /opt/gravlink)" = "root:gravlink 2775"
check "the program and its window are in /opt/gravlink" \
  test -x /opt/gravlink/gravlink -a -f /opt/gravlink/gravlink-window.so
check "the service user gravlink is in the group gravlink" \
  test "$(id -gn gravlink)" = gravlink
check "desktop-file-validate" desktop-file-validate /usr/share/applications/gravlink.desktop
for size in 16x16 32x32 48x48 256x256 scalable; do
  check "icon $size" test -n "$(ls /usr/share/icons/hicolor/$size/apps/gravlink.* 2>/dev/null)"
done
check "systemd-analyze verify" systemd-analyze verify \
  /lib/systemd/system/gravlink-export.service /lib/systemd/system/gravlink-export.timer
check "the timer is installed, not enabled" \
  test ! -e /etc/systemd/system/timers.target.wants/gravlink-export.timer
check "man finds gravlink(1)" test "$(man -w gravlink)" = /usr/share/man/man1/gravlink.1.gz
check "the manual page renders without warnings" \
  test -z "$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -P cat gravlink 2>&1 >/dev/null)"
check "gravlink --help without a display" \
  sh -c 'env -u DISPLAY /opt/gravlink/gravlink --help | grep -q "^Usage:"'

echo "== the unattended export as an operator of the group"
useradd --no-create-home --groups gravlink --shell /bin/sh "$operator"
useradd --no-create-home --shell /bin/sh "$outsider"
bash scripts/start-firebird.sh >/dev/null
source scripts/firebird-user.sh
chmod 777 "$work"
db=localhost:$work/weighing.fdb
demo_database "$db"
# The operator writes the settings file as the settings dialog would.
demo_settings "$db" /opt/gravlink \
  "select IDR, WEIGH_DT, CAR_NO, CARGO, NETT from WEIGHTS where EXPWDT is null order by IDR" |
  runuser -u "$operator" -- sh -c 'umask 002; cat > /opt/gravlink/gravlink.ini'
stamped() { demo_stamped_now "$db" | awk 'NF == 1 && $1 ~ /^[0-9]+$/ { print $1 }'; }
# The server's user for the program where the set-up made one (scripts/firebird-user.sh).
credentials=()
[[ -n ${ISC_USER:-} ]] && credentials=("ISC_USER=$ISC_USER" "ISC_PASSWORD=$ISC_PASSWORD")
status=0
# With the umask the README asks operators for, so that the service can append too.
output=$(cd / && runuser -u "$operator" -- env -i PATH=/usr/bin:/bin LANG=C.UTF-8 "${credentials[@]}" \
  sh -c 'umask 002; exec gravlink -auto' 2>&1) || status=$?
check "the operator's run ends with status 0 and prints nothing" test "$status:$output" = "0:"
check "30 lines exported" test "$(wc -l < /opt/gravlink/gravout.cvs)" -eq 30
check "the first line is record 7" sh -c "head -1 /opt/gravlink/gravout.cvs | grep -q '^7;'"
check "30 records stamped by the run" test "$(stamped)" = 30
check "no error.log" test ! -e /opt/gravlink/error.log

# As the service runs it: the package's own user, the same folder and files.
status=0
output=$(cd /opt/gravlink && runuser -u gravlink -- env -i PATH=/usr/bin:/bin "${credentials[@]}" /opt/gravlink/gravlink -auto 2>&1) || status=$?
check "the service user's run ends with status 0: $output" test "$status:$output" = "0:"
check "the service user's run left no error.log" test ! -e /opt/gravlink/error.log

echo "== a user outside the group: the console names the files and the reason"
status=0
output=$(cd / && runuser -u "$outsider" -- env -i PATH=/usr/bin:/bin LANG=C.UTF-8 /opt/gravlink/gravlink -auto 2>&1) || status=$?
printf '%s\n' "$output"
check "status 1" test "$status" -eq 1
check "the error log named with its reason" \
  grep -q "cannot write the error log /opt/gravlink/error.log: Permission denied" <<<"$output"
check "the settings file named with its reason" \
  grep -q '/opt/gravlink/gravlink.ini.*Permission denied' <<<"$output"

echo "== remove: the site's files stay"
dpkg --remove gravlink >/dev/null
for f in gravlink.ini gravout.cvs; do check "$f kept" test -f "/opt/gravlink/$f"; done
check "the program is gone" test ! -e /opt/gravlink/gravlink
check "the desktop entry is gone" test ! -e /usr/share/applications/gravlink.desktop

echo "== purge with the site's files left: every file of the package is gone"
apt-get install -y -qq "./$deb" >/dev/null
files=$(dpkg -L gravlink | while read -r f; do [ -d "$f" ] || echo "$f"; done)
dpkg --purge gravlink >/dev/null 2>&1
left=$(for f in $files; do [ -e "$f" ] && echo "$f"; done || true)
check "no file of the package left: ${left:-none}" test -z "$left"
check "the folder's ownership is no longer overridden" \
  test -z "$(dpkg-statoverride --list /opt/gravlink || true)"
check "the site's settings kept" test -f /opt/gravlink/gravlink.ini

echo "== purge of a folder without site files: the folder, user and group are gone"
rm -f /opt/gravlink/gravlink.ini /opt/gravlink/gravout.cvs /opt/gravlink/error.log
apt-get install -y -qq "./$deb" >/dev/null
dpkg --purge gravlink >/dev/null 2>&1
check "/opt/gravlink is gone" test ! -e /opt/gravlink
check "the user gravlink is gone" sh -c '! getent passwd gravlink >/dev/null'
check "the group gravlink is gone" sh -c '! getent group gravlink >/dev/null'

if ((failures)); then
  echo "packaging check: $failures failed" >&2
  exit 1
fi
echo "packaging check: all passed"
