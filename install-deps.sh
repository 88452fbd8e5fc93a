#!/usr/bin/env bash
# Installs the Debian packages that building and testing fdtools needs and
# this machine lacks; as root directly, otherwise through sudo. Extra
# package names given as arguments are installed too.
set -euo pipefail

wanted=(cmake g++ ninja-build libgtest-dev libcli11-dev nlohmann-json3-dev
        groff-base "$@")
missing=()
for package in "${wanted[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
[ ${#missing[@]} -gt 0 ] || exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || {
    echo "install-deps.sh: needs root or sudo to install: ${missing[*]}" >&2
    exit 1
  }
  as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y \
  --no-install-recommends "${missing[@]}"
