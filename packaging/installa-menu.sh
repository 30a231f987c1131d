#!/bin/sh
# Mette Quorvel con Vori nel menu delle applicazioni dell'utente (sezione
# Ufficio), per la cartella in cui si trova questo script: la cartella del
# programma, ovunque sia stata copiata o estratta.
#
#   ./installa-menu.sh            voce di menu e icone per l'utente; aggiorna
#                                 anche quorvel-con-vori.desktop nella cartella
#   ./installa-menu.sh --rimuovi  toglie voce di menu e icone
#
# Usato dall'installazione: --solo-cartella scrive soltanto
# quorvel-con-vori.desktop nella cartella, per la cartella QUORVEL_CARTELLA
# (se data) o questa.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
id=quorvel-con-vori
data=${XDG_DATA_HOME:-$HOME/.local/share}
sizes="16 32 48 64 128 256"

fail() {
    echo "installa-menu: $*" >&2
    exit 1
}

# A text as a desktop entry value: a backslash is written doubled.
value() {
    printf '%s' "$1" | sed -e 's/\\/\\\\/g'
}

# A path as one quoted argument of Exec: inside the quotes ", `, $ and \ take
# a backslash, % is doubled, and then the whole is escaped as a value.
argument() {
    quoted=$(printf '%s' "$1" | sed -e 's/\\/\\\\/g' -e 's/"/\\"/g' -e 's/`/\\`/g' -e 's/\$/\\$/g' -e 's/%/%%/g')
    value "\"$quoted\""
}

# entry EXEC ICON [PATH]: the desktop entry, on standard output.
entry() {
    cat <<EOF
[Desktop Entry]
Type=Application
Version=1.0
Name=Quorvel con Vori
GenericName=Registro dei soci
Comment=Registro dei soci dell'associazione
Exec=$1
Icon=$2
EOF
    [ $# -lt 3 ] || echo "Path=$3"
    cat <<EOF
Terminal=false
Categories=Office;
Keywords=soci;registro;associazione;tessere;
StartupNotify=true
StartupWMClass=quorvel
EOF
}

# write TARGET [MODE]: standard input replaces TARGET whole. Launchers are
# written executable: in a folder, a desktop runs only those marked so.
write() {
    mkdir -p "$(dirname "$1")"
    tmp=$(mktemp "$1.XXXXXX") || fail "non è possibile scrivere $1"
    if cat >"$tmp" && chmod "${2:-644}" "$tmp" && mv -f "$tmp" "$1"; then
        return 0
    fi
    rm -f "$tmp"
    fail "non è possibile scrivere $1"
}

# The folder's own launcher, for the folder given.
folder_entry() {
    case "$1" in
    *'
'*) fail "il percorso della cartella contiene un a capo: spostare la cartella" ;;
    esac
    entry "$(argument "$1/quorvel")" "$(value "$1/icone/$id.svg")" "$(value "$1")" | write "$here/$id.desktop" 755
}

# The desktop's caches of menu entries and icons, where the user has them.
refresh() {
    if [ -f "$data/icons/hicolor/icon-theme.cache" ] && command -v gtk-update-icon-cache >/dev/null 2>&1; then
        gtk-update-icon-cache -q -t "$data/icons/hicolor" 2>/dev/null || true
    fi
    if command -v update-desktop-database >/dev/null 2>&1; then
        update-desktop-database -q "$data/applications" 2>/dev/null || true
    fi
}

case "${1:-}" in
--solo-cartella)
    folder_entry "${QUORVEL_CARTELLA:-$here}"
    ;;
--rimuovi)
    rm -f "$data/applications/$id.desktop" "$data/icons/hicolor/scalable/apps/$id.svg"
    for s in $sizes; do
        rm -f "$data/icons/hicolor/${s}x$s/apps/$id.png"
    done
    refresh
    echo "Quorvel con Vori non è più nel menu delle applicazioni. La cartella del programma e i dati restano dove sono."
    ;;
'')
    [ -x "$here/quorvel" ] || fail "il programma quorvel non si trova in $here"
    case "$here" in
    *'
'*) fail "il percorso della cartella contiene un a capo: spostare la cartella" ;;
    esac
    for s in $sizes; do
        write "$data/icons/hicolor/${s}x$s/apps/$id.png" <"$here/icone/$id-$s.png"
    done
    write "$data/icons/hicolor/scalable/apps/$id.svg" <"$here/icone/$id.svg"
    entry "$(argument "$here/quorvel")" "$id" "$(value "$here")" | write "$data/applications/$id.desktop" 755
    folder_entry "$here"
    refresh
    echo "Quorvel con Vori è nel menu delle applicazioni (Ufficio) e avvia il programma in $here."
    echo "Se la cartella viene spostata, eseguire di nuovo questo script nella nuova posizione."
    ;;
*)
    fail "opzione sconosciuta: $1 (usare nessuna opzione oppure --rimuovi)"
    ;;
esac
