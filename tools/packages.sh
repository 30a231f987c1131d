# Installs the Debian packages given that are not installed yet, with apt-get
# (through sudo when not root). Sourced by the set-up scripts.

fail() {
    echo "${0##*/}: $*" >&2
    exit 1
}

install_missing() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    command -v apt-get >/dev/null || fail "apt-get not found: install by hand: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || fail "not root and no sudo: install by hand: ${missing[*]}"
        sudo=(sudo)
    fi
    echo "${0##*/}: installing ${missing[*]}"
    "${sudo[@]}" apt-get update -qq || fail "apt-get update failed"
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}" \
        || fail "could not install: ${missing[*]}"
}
