#!/bin/sh
# Starts Vestibor on a program directory of the user's own, $XDG_DATA_HOME/Vestibor
# (~/.local/share/Vestibor), or on the one given with --adresar <dir> or in VESTIBOR_ADRESAR
# (a folder the whole firm shares). Whatever the directory lacks is laid out first, as the
# build lays out its own: the empty database, the password file of the initial password
# and the shipped report templates. Nothing there is ever overwritten.
set -eu

# The installation this launcher belongs to: <prefix>/bin/vestibor.
self=$(readlink -f -- "$0")
prefix=$(dirname -- "$(dirname -- "$self")")
program=$prefix/lib/vestibor/Vestibor
prepare=$prefix/bin/vestibor_prepare
templates=$prefix/share/vestibor/sablony

# A message the user sees: on the terminal, or from a desktop start as a dialog or a
# notification when the desktop has a tool for it.
report() {
    printf 'Vestibor: %s\n' "$1" >&2
    [ -t 2 ] && return 0
    if command -v zenity >/dev/null 2>&1; then
        zenity --error --title=Vestibor --text="$1" >/dev/null 2>&1 || true
    elif command -v notify-send >/dev/null 2>&1; then
        notify-send --urgency=critical Vestibor "$1" >/dev/null 2>&1 || true
    fi
}

dir=${VESTIBOR_ADRESAR:-${XDG_DATA_HOME:-$HOME/.local/share}/Vestibor}
case ${1-} in
--adresar)
    if [ $# -lt 2 ] || [ -z "$2" ]; then
        report "Za volbou --adresar chybí adresář."
        exit 2
    fi
    dir=$2
    shift 2
    ;;
--adresar=*)
    dir=${1#--adresar=}
    shift
    ;;
-h | --help)
    echo "Použití: vestibor [--adresar <adresář programu>]"
    echo "Bez volby pracuje Vestibor v adresáři \$VESTIBOR_ADRESAR, jinak v ${XDG_DATA_HOME:-~/.local/share}/Vestibor."
    exit 0
    ;;
esac

if [ -z "$dir" ]; then
    report "Za volbou --adresar chybí adresář."
    exit 2
fi
if ! mkdir -p -- "$dir" 2>/dev/null || [ ! -w "$dir" ]; then
    report "Adresář programu „$dir“ nelze založit nebo do něj nelze zapisovat."
    exit 1
fi
if ! detail=$("$prepare" -- "$dir" "$templates" 2>&1); then
    report "Adresář programu „$dir“ se nepodařilo připravit: $detail"
    exit 1
fi
exec "$program" --adresar "$dir" "$@"
