#!/usr/bin/env bash
# Installs the Debian packages that the build needs and that are missing.
# Usage: scripts/install-deps.sh [group ...]   groups: core viewer export windows
set -euo pipefail

groups=("$@")
[ ${#groups[@]} -gt 0 ] || groups=(core viewer export)

packages=()
for group in "${groups[@]}"; do
    case "$group" in
        core) packages+=(build-essential cmake pkg-config libgtest-dev libgmock-dev libbenchmark-dev) ;;
        viewer) packages+=(qt6-base-dev qt6-charts-dev libgl-dev) ;;
        export) packages+=(libxlsxwriter-dev python3-openpyxl) ;;
        windows) packages+=(g++-mingw-w64-i686-posix binutils-mingw-w64-i686 wine wine32:i386) ;;
        *) echo "unknown package group: $group" >&2; exit 2 ;;
    esac
done

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
for package in "${missing[@]}"; do
    if [[ "$package" == *:i386 ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
    fi
done
echo "installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
