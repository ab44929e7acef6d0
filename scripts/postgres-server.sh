# A throwaway PostgreSQL 15 on 127.0.0.1 for the tests and the benchmarks, sourced by them:
#   source scripts/postgres-server.sh
#   postgres_server_start [fsync]     # "on" for figures that include the disk; default off
#   trap postgres_server_stop EXIT
# It prepares the database KRAMO_TEST_PG_DATABASE from sql/kramo-schema.sql and exports the
# connection data as KRAMO_TEST_PG_*; the tests copy that database for each test.

postgres_bin=/usr/lib/postgresql/15/bin
postgres_dir=

# initdb and postgres refuse to run as root.
as_postgres() {
  if [[ $(id -u) -eq 0 ]]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

free_port() {
  /usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

postgres_server_start() {
  local fsync=${1:-off}
  local root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  postgres_dir=$(mktemp -d /tmp/kramo-postgres.XXXXXX)
  chmod 755 "$postgres_dir"
  [[ $(id -u) -ne 0 ]] || chown postgres: "$postgres_dir"

  local port
  port=$(free_port)
  as_postgres "$postgres_bin/initdb" -D "$postgres_dir/data" -U postgres -A trust -E UTF8 \
    --locale=C.UTF-8 --no-sync >"$postgres_dir/initdb.log"
  # The socket, for the administrator alone; passwords over TCP as at a real sale.
  printf 'local all all trust\nhost all all 127.0.0.1/32 scram-sha-256\n' \
    | as_postgres tee "$postgres_dir/data/pg_hba.conf" >/dev/null
  as_postgres "$postgres_bin/pg_ctl" -D "$postgres_dir/data" -l "$postgres_dir/server.log" -w \
    -o "-c listen_addresses=127.0.0.1 -p $port -k $postgres_dir -c unix_socket_permissions=0700 -c fsync=$fsync" start >/dev/null

  export KRAMO_TEST_PG_ADDRESS=127.0.0.1
  export KRAMO_TEST_PG_PORT=$port
  export KRAMO_TEST_PG_USER=kramo
  # Blanks, a quote and a backslash: the connection string must carry them.
  export KRAMO_TEST_PG_PASSWORD="kramo's pass\\word"
  export KRAMO_TEST_PG_DATABASE=kramo_template

  local admin=("$postgres_bin/psql" -q -v ON_ERROR_STOP=1 -h "$postgres_dir" -p "$port")
  "${admin[@]}" -U postgres -d postgres \
    -c "CREATE ROLE kramo LOGIN CREATEDB PASSWORD '${KRAMO_TEST_PG_PASSWORD//\'/\'\'}'" \
    -c "CREATE DATABASE kramo_template OWNER kramo"
  "${admin[@]}" -U kramo -d kramo_template -f "$root/sql/kramo-schema.sql" \
    -v sale_name='Testovacia kramo'
}

postgres_server_stop() {
  if [[ -n $postgres_dir ]]; then
    as_postgres "$postgres_bin/pg_ctl" -D "$postgres_dir/data" -m immediate stop >/dev/null || true
    rm -rf "$postgres_dir"
    postgres_dir=
  fi
}
