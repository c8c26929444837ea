#!/usr/bin/env bash
# Installs, with apt-get, whatever the build, the program and the tests need
# and this machine lacks. Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
  cmake make g++ clang libclang-rt-14-dev googletest libbenchmark-dev
  mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth x11-utils xdotool fonts-wqy-zenhei imagemagick python3
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if [[ $(id -u) -ne 0 ]]; then sudo=sudo; else sudo=; fi
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
fi
