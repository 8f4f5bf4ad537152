#!/usr/bin/env bash
# Runs the browser tests: a throwaway program directory with its database, a self-signed
# certificate, vestibor-web on a free loopback port, Debian's chromium driven by Playwright;
# everything is removed afterwards. The database is a file; with VESTIBOR_TEST_SERVER set (a
# connection string of the test server) the tests run a second time on a database of their
# own there. The tests of the app shell itself (shell.test.js) run afterwards on the same
# database, with the server serving a copy of webapp/ from a folder (Aplikace= in [web]) that
# they change.
#   tests/web/run.sh <vestibor-web> <vestibor_prepare> <extension without .so> [playwright args]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
web=$(realpath "$1") prepare=$(realpath "$2") extension=$(realpath -m "$3")
shift 3

work=$(mktemp -d /tmp/vestibor-web-test.XXXXXX)
server=""
serverDatabase=""
stopServer() {
    if [ -n "$server" ] && kill -0 "$server" 2>/dev/null; then
        kill "$server"
        wait "$server" 2>/dev/null || true
    fi
    server=""
}
stop() {
    stopServer
    if [ -n "$serverDatabase" ]; then
        psql "$VESTIBOR_TEST_SERVER" -q -c "DROP DATABASE IF EXISTS $serverDatabase" > /dev/null || true
        serverDatabase=""
    fi
}
trap 'stop; rm -rf "$work"' EXIT

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=127.0.0.1" -addext "subjectAltName=IP:127.0.0.1" \
    -keyout "$work/klic.pem" -out "$work/certifikat.pem" 2> /dev/null

# The seed with its dates put in, relative to today.
seed() {
    local text
    text=$(cat "$here/seed.sql")
    while [[ $text =~ \'@([-+][0-9]+\ [a-z]+)@\' ]]; do
        text=${text//"${BASH_REMATCH[0]}"/"'$(date -d "${BASH_REMATCH[1]}" +%F)'"}
    done
    printf '%s\n' "$text"
}

# A value of a connection string such as "host=/tmp/x port=54329 user=vestibor".
connectionValue() {
    sed -n "s/.*\\b$1=\\([^ ]*\\).*/\\1/p" <<< "$VESTIBOR_TEST_SERVER"
}

# Makes the program directory and its database for the engine ("soubor" or "server").
prepareDirectory() {
    local program=$1 engine=$2
    mkdir -p "$program"
    "$prepare" "$program" > /dev/null
    if [ "$engine" = soubor ]; then
        seed | sqlite3 -batch -bail -cmd ".load $extension" "$program/Vestibor.mdb"
        printf '[databaze]\nTyp=soubor\n' > "$program/Vestibor.ini"
        return
    fi
    serverDatabase="vestibor_web_$$"
    psql "$VESTIBOR_TEST_SERVER" -q -c "CREATE DATABASE $serverDatabase" > /dev/null
    local connection="${VESTIBOR_TEST_SERVER/dbname=postgres/dbname=$serverDatabase}"
    "$prepare" --server "$connection" > /dev/null
    { seed; for table in cis_zakaznici topny_zdroj cinnosti cis_kategorie cis_cinnost; do
          echo "SELECT setval(pg_get_serial_sequence('$table', 'id'), (SELECT max(id) FROM $table));"
      done; } | psql "$connection" -q -v ON_ERROR_STOP=1 > /dev/null
    printf '[databaze]\nTyp=server\nServer=%s\nPort=%s\nDatabaze=%s\nUzivatel=%s\n' "$(connectionValue host)" \
        "$(connectionValue port)" "$serverDatabase" "$(connectionValue user)" > "$program/Vestibor.ini"
    export VESTIBOR_CONNECTION="$connection"
}

runOn() {
    local engine=$1
    shift
    local program="$work/$engine"
    prepareDirectory "$program" "$engine"
    local port
    port=$(node -e 'const s = require("net").createServer().listen(0, "127.0.0.1", () => { console.log(s.address().port); s.close(); });')
    printf '\n[web]\nAdresa=127.0.0.1\nPort=%s\nCertifikat=%s\nKlic=%s\n' "$port" "$work/certifikat.pem" \
        "$work/klic.pem" >> "$program/Vestibor.ini"

    export VESTIBOR_ADRESAR="$program"
    # The one-time password is what the command prints after "Jednorázové heslo: ".
    account() {
        "$web" ucet pridat "$@" | sed -n 's/.*Jednorázové heslo: \([^ ]*\)$/\1/p'
    }
    VESTIBOR_TEST_ONE_TIME=$(account technik1 1 technik)
    VESTIBOR_TEST_SECOND=$(account technik2 2 technik)
    VESTIBOR_TEST_OFFICE=$(account kancelar1 1 kancelar)
    export VESTIBOR_TEST_ONE_TIME VESTIBOR_TEST_SECOND VESTIBOR_TEST_OFFICE

    local url="https://127.0.0.1:$port" status=0
    startServer "$engine" "$url" || return 1
    export VESTIBOR_URL="$url" VESTIBOR_ENGINE="$engine" VESTIBOR_DATABASE="$program/Vestibor.mdb"
    export VESTIBOR_EXTENSION="$extension" VESTIBOR_WORK="$work"
    (cd "$here" && npx --no-install playwright test --pass-with-no-tests "$@") || status=$?

    if [ $status -eq 0 ]; then
        stopServer
        local shell="$work/aplikace-$engine"
        cp -r "$here/../../webapp" "$shell"
        printf 'Aplikace=%s\n' "$shell" >> "$program/Vestibor.ini"
        startServer "$engine" "$url" || return 1
        (cd "$here" && VESTIBOR_APLIKACE="$shell" npx --no-install playwright test --pass-with-no-tests "$@") ||
            status=$?
    fi
    if [ $status -ne 0 ]; then
        echo "--- vestibor-web's log on the engine $engine (last lines) ---" >&2
        tail -n 40 "$work/vestibor-web-$engine.log" >&2
    fi
    stop
    return $status
}

# Starts vestibor-web on the program directory of VESTIBOR_ADRESAR and waits for its answer.
startServer() {
    local engine=$1 url=$2
    "$web" >> "$work/vestibor-web-$engine.log" 2>&1 &
    server=$!
    for _ in $(seq 100); do
        curl -ksf -o /dev/null "$url/" && break
        kill -0 "$server" 2>/dev/null || { cat "$work/vestibor-web-$engine.log" >&2; return 1; }
        sleep 0.1
    done
    curl -ksf -o /dev/null "$url/" || { echo "vestibor-web did not answer on $url" >&2; return 1; }
}

runOn soubor "$@"
if [ -n "${VESTIBOR_TEST_SERVER:-}" ]; then
    runOn server "$@"
fi
