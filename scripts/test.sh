#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test on both engines: the database file, and a
# throwaway database server of its own (a cluster made in a temporary folder, listening on a socket
# there only, passwords checked with SCRAM), which is stopped and removed however the tests end.
# A server named in RSGZ_TEST_PGHOST (and RSGZ_TEST_PGPORT, RSGZ_TEST_PGUSER, RSGZ_TEST_PGPASSWORD)
# is used instead. Exits non-zero when any test fails.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/setup.sh

if [[ -z "${RSGZ_TEST_PGHOST:-}" ]]; then
  bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
  if [[ -z "$bindir" ]]; then
    echo "error: no PostgreSQL server programs in /usr/lib/postgresql" >&2
    exit 1
  fi
  cluster=$(mktemp -d /tmp/rsgz-pg.XXXXXX)
  as_owner=()
  # The server refuses to run as root: the cluster belongs to the postgres user then.
  if [[ $(id -u) -eq 0 ]]; then
    chown postgres: "$cluster"
    as_owner=(runuser -u postgres --)
  fi
  stop_cluster() {
    "${as_owner[@]}" "$bindir/pg_ctl" -D "$cluster/data" -m fast -w stop >/dev/null 2>&1 || true
    rm -rf "$cluster"
  }
  trap stop_cluster EXIT
  password=$(head -c 18 /dev/urandom | base64 | tr -d '/+=')
  printf '%s\n' "$password" >"$cluster/pw"
  [[ $(id -u) -eq 0 ]] && chown postgres: "$cluster/pw"
  "${as_owner[@]}" "$bindir/initdb" -D "$cluster/data" -U postgres --pwfile="$cluster/pw" -E UTF8 --locale=C.UTF-8 \
    --auth-local=scram-sha-256 --auth-host=scram-sha-256 >"$cluster/initdb.log"
  rm -f "$cluster/pw"
  "${as_owner[@]}" "$bindir/pg_ctl" -D "$cluster/data" -l "$cluster/server.log" -w \
    -o "-c listen_addresses='' -c unix_socket_directories='$cluster' -c port=5432" start >/dev/null
  export RSGZ_TEST_PGHOST="$cluster" RSGZ_TEST_PGPORT=5432 RSGZ_TEST_PGUSER=postgres RSGZ_TEST_PGPASSWORD="$password"
  echo "Test server: a throwaway cluster on the socket in $cluster"
fi

# Window tests need no screen: Qt draws them offscreen.
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --no-tests=error -j2
