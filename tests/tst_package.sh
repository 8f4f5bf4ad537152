#!/usr/bin/env bash
# The Debian package as a user gets it: made by cpack from the build, unpacked into a
# temporary root, and its launcher started there with a temporary HOME.
#   tst_package.sh <source dir> <build dir>
set -euo pipefail
source_dir=$1
build_dir=$2
work=$(mktemp -d /tmp/vestibor-package.XXXXXX)
pid=
cleanup() {
    [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# --- The package and what it holds ---
cpack --config "$build_dir/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log"
    fail "cpack"
}
deb=$(echo "$work"/out/vestibor_*_"$(dpkg --print-architecture)".deb)
[ -f "$deb" ] || fail "no package in $work/out"
echo "package: $(basename "$deb"), $(du -k "$deb" | cut -f1) kB"
root=$work/root
dpkg-deb -x "$deb" "$root"
for f in usr/bin/vestibor usr/bin/vestibor_prepare usr/lib/vestibor/Vestibor usr/lib/vestibor/libPM41.so \
    usr/share/applications/vestibor.desktop usr/share/icons/hicolor/scalable/apps/vestibor.svg \
    usr/share/doc/vestibor/copyright usr/share/doc/vestibor/changelog.gz usr/lib/vestibor/vestibor-web \
    lib/systemd/system/vestibor-web.service usr/share/man/man1/vestibor-web.1.gz; do
    [ -e "$root/$f" ] || fail "the package lacks /$f"
done
diff -r "$source_dir/pm41/templates" "$root/usr/share/vestibor/sablony" || fail "the shipped templates differ"
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6sql6-sqlite libqt6gui6 libqt6widgets6 libqt6printsupport6 libsqlite3-0 libpq5 fonts-dejavu-extra \
    adduser libsodium23; do
    [[ ", $depends," == *", $p "* || ", $depends," == *", $p,"* ]] || fail "Depends lacks $p: $depends"
done

# --- The web app: no widget kit, a confined service that is off until enabled ---
web=$root/usr/lib/vestibor/vestibor-web
if ldd "$web" | grep -E "libQt6(Widgets|Gui)"; then
    fail "vestibor-web links the widget kit"
fi
"$web" --help | grep -q "ucet seznam" || fail "vestibor-web --help"
unit=$root/lib/systemd/system/vestibor-web.service
for line in User=vestibor-web NoNewPrivileges=yes ProtectSystem=strict ReadWritePaths=/var/lib/vestibor-web \
    ExecStart=/usr/lib/vestibor/vestibor-web; do
    grep -qx "$line" "$unit" || fail "the unit lacks $line"
done
if command -v systemd-analyze >/dev/null; then
    # The unit's own lines: the program it names is the unpacked one, its manual page is not
    # installed here.
    sed "s|ExecStart=/usr/lib/vestibor/vestibor-web|ExecStart=$web|" "$unit" >"$work/vestibor-web.service"
    systemd-analyze verify "$work/vestibor-web.service" 2>"$work/verify.log" || true
    if grep -v -e "Failed to add dependency" -e "Command 'man vestibor-web(1)'" "$work/verify.log" |
        grep -i "vestibor-web.service"; then
        fail "systemd-analyze finds faults in the unit"
    fi
fi
dpkg-deb -e "$deb" "$work/control"
grep -q "adduser --system" "$work/control/postinst" || fail "postinst makes no system user"
if grep -v "^ *#" "$work/control/postinst" | grep -E "systemctl (enable|start)|deb-systemd-invoke start"; then
    fail "postinst starts the web app"
fi

if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb" || fail "lintian reports errors"
fi

# --- The launcher on the unpacked root ---
export HOME=$work/home
unset XDG_DATA_HOME VESTIBOR_ADRESAR
export QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME"
launcher=$root/usr/bin/vestibor

# Starts the launcher in the background; the program replaces it under the same id.
start() {
    "$launcher" "$@" >"$work/program.log" 2>&1 &
    pid=$!
}
# Waits until the file exists, with the program still running.
wait_for() {
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || { cat "$work/program.log"; fail "the program ended waiting for $1"; }
        [ -e "$1" ] && return 0
        sleep 0.2
    done
    fail "no $1 after 20 s"
}
# Ends the program; it must still have been running.
stop() {
    kill -0 "$pid" 2>/dev/null || { cat "$work/program.log"; fail "the program ended by itself"; }
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    pid=
}
laid_out() {
    [ -f "$1/Vestibor.mdb" ] || fail "no database in $1"
    [ -f "$1/Vestibor.heslo" ] || fail "no password file in $1"
    diff -r "$source_dir/pm41/templates" "$1/Ses" || fail "the templates in $1/Ses differ"
}

# The first start lays out the user's directory and stops at the password prompt.
user=$HOME/.local/share/Vestibor
start
wait_for "$user/Vestibor.heslo"
sleep 2
stop
laid_out "$user"

# The second start keeps what is there and the program works on that directory: without
# the password it opens the directory's database (its WAL index appears beside it).
template=$user/Ses/seznam_zakazniku.sestava
echo "; upraveno" >>"$template"
changed=$(md5sum <"$template")
password=$(md5sum <"$user/Vestibor.heslo")
printf '[konfig]\r\nhsl=0\r\n' >"$user/Vestibor.ini"
start
wait_for "$user/Vestibor.mdb-shm"
sleep 1
stop
[ "$(md5sum <"$template")" = "$changed" ] || fail "a changed template was overwritten"
[ "$(md5sum <"$user/Vestibor.heslo")" = "$password" ] || fail "the password file was overwritten"

# A firm-wide folder from the environment; the option wins over it.
VESTIBOR_ADRESAR=$work/firma start
wait_for "$work/firma/Vestibor.heslo"
stop
laid_out "$work/firma"
VESTIBOR_ADRESAR=$work/firma start --adresar "$work/pobocka"
wait_for "$work/pobocka/Vestibor.heslo"
stop
laid_out "$work/pobocka"
XDG_DATA_HOME=$work/data start
wait_for "$work/data/Vestibor/Vestibor.heslo"
stop

# A directory that cannot be made is named in the message, and nothing starts.
touch "$work/soubor"
status=0
"$launcher" --adresar "$work/soubor/Vestibor" 2>"$work/error.log" || status=$?
[ "$status" -eq 1 ] || fail "status $status for a directory that cannot be made"
grep -q "Adresář programu „$work/soubor/Vestibor“ nelze založit" "$work/error.log" || {
    cat "$work/error.log"
    fail "no message for a directory that cannot be made"
}
echo "package and launcher fine"
