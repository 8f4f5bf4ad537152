#!/usr/bin/env bash
# A throwaway PostgreSQL server for the tests: its own data folder, reached only through a
# local socket in that folder, run as an unprivileged user (CI runs as root). The user
# vestibor needs no password; vestibor_heslo signs in with the password "heslo-k-testum",
# for the tests of the password the server asks for.
#   scripts/test-server.sh start <folder>   prints the connection string
#   scripts/test-server.sh stop <folder>
set -euo pipefail
action=${1:?start or stop}
folder=${2:?folder}
bin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -1)
port=${VESTIBOR_TEST_SERVER_PORT:-54329}

as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}

case "$action" in
start)
    mkdir -p "$folder"
    [ "$(id -u)" -ne 0 ] || chown postgres "$folder"
    as_owner "$bin/initdb" -D "$folder/data" -U vestibor --auth=trust --encoding=UTF8 --locale=C.UTF-8 >"$folder/initdb.log"
    hba="$folder/data/pg_hba.conf"
    as_owner sh -c "{ echo 'local all vestibor_heslo scram-sha-256'; cat '$hba'; } > '$hba.new' && mv '$hba.new' '$hba'"
    as_owner "$bin/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w \
        -o "-k $folder -p $port -c listen_addresses= -c fsync=off" start >/dev/null
    as_owner "$bin/psql" -q -h "$folder" -p "$port" -U vestibor -d postgres -c \
        "CREATE ROLE vestibor_heslo LOGIN PASSWORD 'heslo-k-testum' IN ROLE pg_read_all_data, pg_write_all_data" >/dev/null
    echo "host=$folder port=$port user=vestibor dbname=postgres"
    ;;
stop)
    as_owner "$bin/pg_ctl" -D "$folder/data" -m fast -w stop >/dev/null || true
    ;;
*)
    echo "usage: $0 start|stop <folder>" >&2
    exit 2
    ;;
esac
