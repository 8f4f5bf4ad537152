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
# shellcheck source=tests/web/serve.sh
source "$here/serve.sh"
stop() {
    stopServer
    dropServerDatabase "${VESTIBOR_TEST_SERVER:-}"
}
trap 'stop; rm -rf "$work"' EXIT

makeCertificate

# The seed with its dates put in, relative to today.
seed() {
    local text
    text=$(cat "$here/seed.sql")
    while [[ $text =~ \'@([-+][0-9]+\ [a-z]+)@\' ]]; do
        text=${text//"${BASH_REMATCH[0]}"/"'$(date -d "${BASH_REMATCH[1]}" +%F)'"}
    done
    printf '%s\n' "$text"
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
    serverSection "$VESTIBOR_TEST_SERVER" "$serverDatabase" > "$program/Vestibor.ini"
    export VESTIBOR_CONNECTION="$connection"
}

runOn() {
    local engine=$1
    shift
    local program="$work/$engine"
    prepareDirectory "$program" "$engine"
    local url status=0
    url=$(listenOnFreePort "$program")

    export VESTIBOR_ADRESAR="$program"
    VESTIBOR_TEST_ONE_TIME=$(addAccount "$program" technik1 1 technik)
    VESTIBOR_TEST_SECOND=$(addAccount "$program" technik2 2 technik)
    VESTIBOR_TEST_OFFICE=$(addAccount "$program" kancelar1 1 kancelar)
    export VESTIBOR_TEST_ONE_TIME VESTIBOR_TEST_SECOND VESTIBOR_TEST_OFFICE
    startServer "$program" "$url" "$work/vestibor-web-$engine.log" || return 1
    export VESTIBOR_URL="$url" VESTIBOR_ENGINE="$engine" VESTIBOR_DATABASE="$program/Vestibor.mdb"
    export VESTIBOR_EXTENSION="$extension" VESTIBOR_WORK="$work"
    (cd "$here" && npx --no-install playwright test --pass-with-no-tests "$@") || status=$?

    if [ $status -eq 0 ]; then
        stopServer
        local shell="$work/aplikace-$engine"
        cp -r "$here/../../webapp" "$shell"
        printf 'Aplikace=%s\n' "$shell" >> "$program/Vestibor.ini"
        startServer "$program" "$url" "$work/vestibor-web-$engine.log" || return 1
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

runOn soubor "$@"
if [ -n "${VESTIBOR_TEST_SERVER:-}" ]; then
    runOn server "$@"
fi
