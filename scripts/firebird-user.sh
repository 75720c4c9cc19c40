# Who the scripts connect as through the Firebird server on localhost: the tests' own
# user where scripts/start-firebird.sh made one (a server whose SYSDBA password it
# left alone), else SYSDBA with the program's password. Exports ISC_USER and
# ISC_PASSWORD for the first, which the program and the reference clients take.
# Sourced, not run, from the repository's top folder.
if [[ -f .firebird-test-user ]]; then
  set -a
  . ./.firebird-test-user
  set +a
fi
FB_USER=${ISC_USER:-SYSDBA}
FB_PASSWORD=${ISC_PASSWORD:-quillbark}
