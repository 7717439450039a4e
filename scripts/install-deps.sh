#!/usr/bin/env bash
# Installs, with apt-get, whatever of the build and test tools is missing on a Debian-like
# machine. Quiet and quick when everything is there.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang
    g++-mingw-w64-x86-64 mingw-w64-tools
    wine wine64 xvfb xdotool socat x11-xkb-utils x11-apps x11-utils xauth imagemagick
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-liberation fonts-wine python3 procps coreutils findutils
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if [ "${#missing[@]}" -eq 0 ]; then
    exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "install-deps: missing ${missing[*]}; run this as root or install sudo" >&2
        exit 1
    fi
    as_root=(sudo)
fi

echo "install-deps: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
