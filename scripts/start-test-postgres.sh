#!/usr/bin/env bash
# Starts the machine's PostgreSQL server on loopback (if it is not running) and makes sure the
# test role exists. Prints the export lines the tests read; source its output:
#   eval "$(scripts/start-test-postgres.sh)"
set -euo pipefail
# The server tools print notes on stdout ("Removed stale pid file." and the like); only the
# export lines may reach the caller's eval, so everything else goes to stderr. The server
# itself must not inherit the caller's stdout (fd 3), or the caller would wait for it forever.
exec 3>&1 1>&2
version=$(ls /usr/lib/postgresql | sort -n | tail -n 1)
if ! pg_lsclusters -h | grep -q "^$version main"; then
  pg_createcluster "$version" main >/dev/null
fi
if ! pg_lsclusters -h | awk -v v="$version" '$1==v && $2=="main" {print $4}' | grep -q online; then
  pg_ctlcluster "$version" main start 3>&-
fi
port=$(pg_lsclusters -h | awk -v v="$version" '$1==v && $2=="main" {print $3}')
password=vardello_test
su postgres -c "psql -q -p $port -v ON_ERROR_STOP=1" >/dev/null <<SQL
DO \$\$ BEGIN
  IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'vardello_test') THEN
    CREATE ROLE vardello_test LOGIN CREATEDB PASSWORD '$password';
  END IF;
END \$\$;
SQL
echo "export VARDELLO_TEST_PG=postgresql://vardello_test@127.0.0.1:$port/postgres" >&3
echo "export PGPASSWORD=$password" >&3
