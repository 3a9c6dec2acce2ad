#!/usr/bin/env bash
# Installs what building and testing need (Debian 12, apt-get only), then prepares the private
# Wine prefix under build/. Safe to run again: it installs only what is missing.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

PACKAGES=(
    cmake ninja-build g++ googletest libgtest-dev libgmock-dev libbenchmark-dev python3
    g++-mingw-w64-i686 wine wine32:i386 fonts-wine xvfb x11-utils imagemagick xdotool
    clang libclang-rt-14-dev
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null; then
        sudo "$@"
    else
        echo "error: run as root (or install sudo) to install: ${MISSING[*]}" >&2
        exit 1
    fi
}

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

MISSING=()
for p in "${PACKAGES[@]}"; do
    installed "$p" || MISSING+=("$p")
done

if [ ${#MISSING[@]} -gt 0 ]; then
    log "installing: ${MISSING[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
    fi
    export DEBIAN_FRONTEND=noninteractive
    as_root apt-get update -qq
    as_root apt-get install -y -qq "${MISSING[@]}" </dev/null >"${TMPDIR:-/tmp}/wexly-apt.log" 2>&1 || {
        tail -30 "${TMPDIR:-/tmp}/wexly-apt.log" >&2
        exit 1
    }
fi

ensure_base_prefix
