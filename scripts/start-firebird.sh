#!/usr/bin/env bash
# Starts the Firebird server on 127.0.0.1:3050 for the tests that go through it,
# and makes sure SYSDBA's password is the one gravlink connects with. Idempotent.
set -euo pipefail

PASSWORD=quillbark
ISQL=/usr/bin/isql-fb

listening() { (exec 3<>/dev/tcp/127.0.0.1/3050) 2>/dev/null; }

if ! listening; then
  /usr/sbin/fbguard -daemon -forever
  for _ in $(seq 1 50); do
    listening && break
    sleep 0.2
  done
  listening || { echo "Firebird server did not start" >&2; exit 1; }
fi

# A scratch database the server owns: the password can only be changed over a
# connection, and the security database itself refuses remote access.
scratch_dir=$(mktemp -d /tmp/gravlink-fbstart.XXXXXX)
chmod 777 "$scratch_dir"
scratch="localhost:$scratch_dir/pw.fdb"
trap 'rm -rf "$scratch_dir"' EXIT

try_password() {
  echo "create database '$scratch' user 'SYSDBA' password '$1'; drop database;" |
    "$ISQL" -q >/dev/null 2>&1
}

if try_password "$PASSWORD"; then
  echo "Firebird server running; SYSDBA password already set"
  exit 0
fi

packaged=$(sed -n 's/^ISC_PASSWORD="\?\([^"]*\)"\?$/\1/p' /etc/firebird/3.0/SYSDBA.password)
echo "create database '$scratch' user 'SYSDBA' password '$packaged';
alter user SYSDBA password '$PASSWORD';
commit;
drop database;" | "$ISQL" -q
try_password "$PASSWORD" || { echo "could not set the SYSDBA password" >&2; exit 1; }
echo "Firebird server running; SYSDBA password set"
