#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages the build, the tests and the tools need,
# and any further packages named as arguments (scripts/windows.sh names its
# cross compilers and Wine). A package of another architecture
# (wine32:i386) has that architecture added to dpkg first. Idempotent: does
# nothing when all are there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git python3
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libcli11-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev xvfb xauth
  clang libclang-rt-14-dev clang-tidy cppcheck
  "$@"
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
for package in "${missing[@]}"; do
  if [[ "$package" == *:* ]] && ! dpkg --print-foreign-architectures | grep -qx "${package##*:}"; then
    "${sudo_cmd[@]}" dpkg --add-architecture "${package##*:}"
  fi
done
"${sudo_cmd[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
