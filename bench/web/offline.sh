#!/usr/bin/env bash
# Measures the web app without signal (bench/web/offline.js) on a generated firm: the trip to
# a town of 300 customers with 2,000 cards, the pages stored for it opened offline, and an
# outbox of 50 activities sent once the network is back. Makes the data with vestibor_gendb,
# moves such customers into the town "Výjezdov", starts vestibor-web on the loopback with a
# throwaway certificate, adds a technician and runs the measurement; with --server the same
# again on a copy of the data in a database of its own on that server (dropped afterwards).
# Everything else it makes is removed at the end.
#   bench/web/offline.sh <vestibor-web> <vestibor_prepare> <vestibor_gendb> [--server <connection>]
# The SQLite extension is taken from beside vestibor-web (or $VESTIBOR_SQLITE).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
web=$(realpath "$1") prepare=$(realpath "$2") gendb=$(realpath "$3")
shift 3
connection=""
if [ "${1:-}" = --server ]; then
    connection=${2:?a connection string after --server}
fi
extension=$(realpath -m "${VESTIBOR_SQLITE:-$(dirname "$web")/vestibor_sqlite}")
extension=${extension%.so}
town="Výjezdov"
townCustomers=300
townCards=2000

work=$(mktemp -d /tmp/vestibor-offline.XXXXXX)
# shellcheck source=tests/web/serve.sh
source "$here/../../tests/web/serve.sh"
cleanUp() {
    stopServer
    dropServerDatabase "$connection"
    rm -rf "$work"
}
trap cleanUp EXIT

sql() {
    sqlite3 -batch -bail -cmd ".load $extension" "$work/firma.mdb" "$@"
}

echo "Making the data (10,000 customers, 60,000 cards, 400,000 activities)…" >&2
"$gendb" "$work/firma.mdb" --customers 10000 --cards 60000 --activities 400000 --big-customer-cards 500 \
    --big-customer-activities-per-card 40 --seed 1 > /dev/null

# The town: customers whose every card has at least 5 activities, the most cards first, taken
# while what is left can still be made up exactly by the smaller ones that follow.
chosen=$(sql "WITH k AS (SELECT t.id_zakaznika AS z,
                             (SELECT count(*) FROM cinnosti c WHERE c.id_topneho_zdroje = t.id) AS n
                         FROM topny_zdroj t WHERE t.id_zakaznika <> 1)
              SELECT z, count(*) FROM k GROUP BY z HAVING min(n) >= 5 ORDER BY count(*) DESC, z" |
    awk -F'|' -v slots="$townCustomers" -v cards="$townCards" '
        { id[NR] = $1; size[NR] = $2 }
        END {
            for (i = 1; i <= NR && slots > 0; i++) {
                later = size[i + 1] ? size[i + 1] : 0
                if (size[i] <= cards - (slots - 1) && cards - size[i] <= (slots - 1) * later &&
                    (slots > 1 || size[i] == cards)) {
                    printf "%s%s", (n++ ? "," : ""), id[i]
                    slots--; cards -= size[i]
                }
            }
            if (slots || cards) { print "no such town can be made" > "/dev/stderr"; exit 1 }
        }')
sql "UPDATE cis_zakaznici SET mesto = '$town' WHERE id IN ($chosen)"
made=$(sql "SELECT count(DISTINCT z.id) || ' customers, ' || count(*) || ' cards'
            FROM cis_zakaznici z JOIN topny_zdroj t ON t.id_zakaznika = z.id WHERE z.mesto = '$town'")
echo "$town: $made" >&2

makeCertificate

# Makes the program directory of the engine, starts vestibor-web on it and measures.
runOn() {
    local engine=$1 program="$work/$1"
    mkdir -p "$program"
    "$prepare" "$program" > /dev/null
    if [ "$engine" = soubor ]; then
        cp "$work/firma.mdb" "$program/Vestibor.mdb"
        printf '[databaze]\nTyp=soubor\n' > "$program/Vestibor.ini"
    else
        serverDatabase="vestibor_offline_$$"
        psql "$connection" -q -c "CREATE DATABASE $serverDatabase" > /dev/null
        local own
        if [[ $connection =~ dbname=[^\ ]+ ]]; then
            own=${connection/${BASH_REMATCH[0]}/dbname=$serverDatabase}
        else
            own="$connection dbname=$serverDatabase"
        fi
        "$prepare" --server "$own" --copy "$work/firma.mdb" > /dev/null
        serverSection "$own" "$serverDatabase" > "$program/Vestibor.ini"
    fi
    local url once
    url=$(listenOnFreePort "$program")
    once=$(addAccount "$program" technik1 1 technik)
    startServer "$program" "$url" "$work/vestibor-web-$engine.log"
    node "$here/offline.js" --url "$url" --login technik1 --once "$once" --town "$town" --engine "$engine" \
        --out "$work/$engine.json"
    stopServer
}

runOn soubor
files=("$work/soubor.json")
if [ -n "$connection" ]; then
    runOn server
    files+=("$work/server.json")
fi
node "$here/offline.js" --table "${files[@]}"
