#!/usr/bin/env bash
# Runs the browser tests: a throwaway program directory with its database file and a
# self-signed certificate, vestibor-web on a free loopback port, Debian's chromium driven
# by Playwright; everything is removed afterwards.
#   tests/web/run.sh <vestibor-web> <vestibor_prepare> <extension without .so> [playwright args]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
web=$(realpath "$1") prepare=$(realpath "$2") extension=$(realpath -m "$3")
shift 3

work=$(mktemp -d /tmp/vestibor-web-test.XXXXXX)
server=""
stop() {
    if [ -n "$server" ] && kill -0 "$server" 2>/dev/null; then
        kill "$server"
        wait "$server" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap stop EXIT

program="$work/program"
mkdir -p "$program"
"$prepare" "$program" > /dev/null
database="$program/Vestibor.mdb"
sqlite3 -batch -bail -cmd ".load $extension" "$database" < "$here/seed.sql"

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=127.0.0.1" -addext "subjectAltName=IP:127.0.0.1" \
    -keyout "$work/klic.pem" -out "$work/certifikat.pem" 2> /dev/null
port=$(node -e 'const s = require("net").createServer().listen(0, "127.0.0.1", () => { console.log(s.address().port); s.close(); });')
cat > "$program/Vestibor.ini" <<INI
[databaze]
Typ=soubor

[web]
Adresa=127.0.0.1
Port=$port
Certifikat=$work/certifikat.pem
Klic=$work/klic.pem
INI

export VESTIBOR_ADRESAR="$program"
# The one-time password is what the command prints after "Jednorázové heslo: ".
account() {
    "$web" ucet pridat "$@" | sed -n 's/.*Jednorázové heslo: \([^ ]*\)$/\1/p'
}
VESTIBOR_TEST_ONE_TIME=$(account technik1 1 technik)
VESTIBOR_TEST_SECOND=$(account technik2 2 technik)
VESTIBOR_TEST_OFFICE=$(account kancelar1 1 kancelar)
export VESTIBOR_TEST_ONE_TIME VESTIBOR_TEST_SECOND VESTIBOR_TEST_OFFICE

"$web" > "$work/vestibor-web.log" 2>&1 &
server=$!
url="https://127.0.0.1:$port"
for _ in $(seq 100); do
    curl -ksf -o /dev/null "$url/" && break
    kill -0 "$server" 2>/dev/null || { cat "$work/vestibor-web.log" >&2; exit 1; }
    sleep 0.1
done
curl -ksf -o /dev/null "$url/" || { echo "vestibor-web did not answer on $url" >&2; exit 1; }

export VESTIBOR_URL="$url" VESTIBOR_DATABASE="$database" VESTIBOR_EXTENSION="$extension" VESTIBOR_WORK="$work"
cd "$here"
status=0
npx --no-install playwright test "$@" || status=$?
if [ $status -ne 0 ]; then
    echo "--- vestibor-web's log (last lines) ---" >&2
    tail -n 40 "$work/vestibor-web.log" >&2
fi
exit $status
