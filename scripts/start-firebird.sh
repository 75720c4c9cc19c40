#!/usr/bin/env bash
# Starts the Firebird server on 127.0.0.1:3050 for the tests that go through it, and
# makes sure the tests can connect. Idempotent.
#
# A server this script starts (or any server under CI, whose machine is the tests'
# own) gets SYSDBA's password set to the one gravlink connects with. A server that was
# already running on a developer's machine keeps its SYSDBA password: the tests get a
# Firebird user of their own instead, written with its password to
# .firebird-test-user (mode 0600) as ISC_USER and ISC_PASSWORD, which
# scripts/test.sh reads and the tests and the program then connect with.
set -euo pipefail
cd "$(dirname "$0")/.."

PASSWORD=quillbark
ISQL=/usr/bin/isql-fb
CREDENTIALS=.firebird-test-user
TEST_USER=GRAVLINK_TEST

listening() { (exec 3<>/dev/tcp/127.0.0.1/3050) 2>/dev/null; }

started=0
if ! listening; then
  /usr/sbin/fbguard -daemon -forever
  for _ in $(seq 1 50); do
    listening && break
    sleep 0.2
  done
  listening || { echo "Firebird server did not start" >&2; exit 1; }
  started=1
fi

# A scratch database the server owns: users can only be changed over a connection,
# and the security database itself refuses remote access.
scratch_dir=$(mktemp -d /tmp/gravlink-fbstart.XXXXXX)
chmod 777 "$scratch_dir"
scratch="localhost:$scratch_dir/pw.fdb"
trap 'rm -rf "$scratch_dir"' EXIT

# try_login USER PASSWORD: can that user connect (and create a database)?
try_login() {
  echo "create database '$scratch' user '$1' password '$2'; drop database;" |
    "$ISQL" -q >/dev/null 2>&1
}

if [[ -f $CREDENTIALS ]]; then
  user=$(sed -n 's/^ISC_USER=//p' "$CREDENTIALS")
  password=$(sed -n 's/^ISC_PASSWORD=//p' "$CREDENTIALS")
  if try_login "$user" "$password"; then
    echo "Firebird server running; tests connect as $user ($CREDENTIALS)"
    exit 0
  fi
fi

if try_login SYSDBA "$PASSWORD"; then
  rm -f "$CREDENTIALS"
  echo "Firebird server running; SYSDBA password already set"
  exit 0
fi

packaged=$(sed -n 's/^ISC_PASSWORD="\?\([^"]*\)"\?$/\1/p' /etc/firebird/3.0/SYSDBA.password 2>/dev/null || true)
if ((started)) || [[ -n ${CI:-} ]]; then
  echo "create database '$scratch' user 'SYSDBA' password '$packaged';
alter user SYSDBA password '$PASSWORD';
commit;
drop database;" | "$ISQL" -q
  try_login SYSDBA "$PASSWORD" || { echo "could not set the SYSDBA password" >&2; exit 1; }
  rm -f "$CREDENTIALS"
  echo "Firebird server running; SYSDBA password set"
  exit 0
fi

# A developer's server: an administrator creates the tests' own user, which may also
# manage users (the tests create restricted users of their own on private servers).
admin_user=${ISC_USER:-SYSDBA}
admin_password=${ISC_PASSWORD:-$packaged}
if ! try_login "$admin_user" "$admin_password"; then
  echo "The Firebird server on localhost was running already and its SYSDBA password is" >&2
  echo "not gravlink's; to create a user for the tests, run this script with ISC_USER and" >&2
  echo "ISC_PASSWORD of an administrator of that server in the environment." >&2
  exit 1
fi
test_password=$(head -c 18 /dev/urandom | base64 | tr -d '/+=')
echo "create database '$scratch' user '$admin_user' password '$admin_password';
create or alter user $TEST_USER password '$test_password' grant admin role;
commit;
drop database;" | "$ISQL" -q
(umask 077 && printf 'ISC_USER=%s\nISC_PASSWORD=%s\n' "$TEST_USER" "$test_password" >"$CREDENTIALS")
try_login "$TEST_USER" "$test_password" || { echo "could not create the user $TEST_USER" >&2; exit 1; }
echo "Firebird server running; tests connect as $TEST_USER ($CREDENTIALS)"
