#!/usr/bin/env bash
# Installs every Debian package the project needs. Quick when all of them are present.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libwxgtk3.2-dev libgtk-3-dev libcairo2-dev libserialport-dev libcurl4-openssl-dev libmrpt-expr-dev
  libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev
  xvfb xauth
  clang libclang-rt-14-dev
  python3-scipy python3-numpy
  locales
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

# The tests check that numbers keep their '.' under a comma-decimal locale.
need_locale() { ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; }

if [ ${#missing[@]} -eq 0 ] && ! need_locale; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if need_locale; then
  "${sudo_cmd[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
