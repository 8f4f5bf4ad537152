# shellcheck shell=bash
# shellcheck disable=SC2154  # work and web are the caller's
# Sourced by the scripts that run vestibor-web for a browser (tests/web/run.sh,
# bench/web/offline.sh): a throwaway certificate, a free port, the [web] section, accounts,
# and the server started and stopped. Each caller sets `work` (its temporary folder) and `web`
# (the program) first.
server=""

# A self-signed certificate for 127.0.0.1 in $work.
makeCertificate() {
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=127.0.0.1" \
        -addext "subjectAltName=IP:127.0.0.1" -keyout "$work/klic.pem" -out "$work/certifikat.pem" 2> /dev/null
}

# A value of a connection string such as "host=/tmp/x port=54329 user=vestibor".
connectionValue() {
    sed -n "s/.*\\b$1=\\([^ ]*\\).*/\\1/p" <<< "$2"
}

# The [databaze] section for the database named on the server of the connection string.
serverSection() {
    local connection=$1 database=$2
    printf '[databaze]\nTyp=server\nServer=%s\nPort=%s\nDatabaze=%s\nUzivatel=%s\n' \
        "$(connectionValue host "$connection")" "$(connectionValue port "$connection")" "$database" \
        "$(connectionValue user "$connection")"
}

# Appends the [web] section of a free loopback port to the program directory's settings and
# prints the address it will answer on.
listenOnFreePort() {
    local program=$1 port
    port=$(node -e 'const s = require("net").createServer().listen(0, "127.0.0.1", () => { console.log(s.address().port); s.close(); });')
    printf '\n[web]\nAdresa=127.0.0.1\nPort=%s\nCertifikat=%s\nKlic=%s\n' "$port" "$work/certifikat.pem" \
        "$work/klic.pem" >> "$program/Vestibor.ini"
    echo "https://127.0.0.1:$port"
}

# Adds an account in the program directory and prints its one-time password (what the command
# prints after "Jednorázové heslo: ").
addAccount() {
    local program=$1
    shift
    VESTIBOR_ADRESAR="$program" "$web" ucet pridat "$@" | sed -n 's/.*Jednorázové heslo: \([^ ]*\)$/\1/p'
}

# Starts vestibor-web on the program directory, its output into the log, and waits for its answer.
startServer() {
    local program=$1 url=$2 log=$3
    VESTIBOR_ADRESAR="$program" "$web" >> "$log" 2>&1 &
    server=$!
    for _ in $(seq 100); do
        curl -ksf -o /dev/null "$url/" && return 0
        kill -0 "$server" 2>/dev/null || { cat "$log" >&2; return 1; }
        sleep 0.1
    done
    echo "vestibor-web did not answer on $url" >&2
    return 1
}

stopServer() {
    if [ -n "$server" ] && kill -0 "$server" 2>/dev/null; then
        kill "$server"
        wait "$server" 2>/dev/null || true
    fi
    server=""
}

# Drops the server's database the caller made ($serverDatabase), if it made one.
serverDatabase=""
dropServerDatabase() {
    if [ -n "$serverDatabase" ]; then
        psql "$1" -q -c "DROP DATABASE IF EXISTS $serverDatabase" > /dev/null || true
        serverDatabase=""
    fi
}
