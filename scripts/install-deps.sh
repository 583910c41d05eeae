#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that are missing, and does nothing when
# all are there:
#
#   scripts/install-deps.sh --programs   what building and running the two
#                                        programs needs (scripts/run.sh)
#   scripts/install-deps.sh [PACKAGE...] that, plus what the tests, the checks
#                                        and the tools need (scripts/test.sh),
#                                        plus the PACKAGEs named (scripts/windows.sh
#                                        names its cross compilers and Wine)
#
# A package of another architecture (wine32:i386) has that architecture added
# to dpkg first.
set -euo pipefail

# The compiler, the build tools, the libraries the programs use, and Python
# for the sample files.
packages=(g++ cmake ninja-build python3 libcli11-dev qt6-base-dev)
if [ "${1:-}" = "--programs" ]; then
  shift
else
  packages+=(
    build-essential pkg-config git
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    qt6-base-dev-tools libgl-dev xvfb xauth
    clang libclang-rt-14-dev clang-tidy cppcheck
  )
fi
packages+=("$@")

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "tallowbrook: missing packages, and no sudo to install them: as root, run" \
      "apt-get install --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
for package in "${missing[@]}"; do
  if [[ "$package" == *:* ]] && ! dpkg --print-foreign-architectures | grep -qx "${package##*:}"; then
    "${sudo_cmd[@]}" dpkg --add-architecture "${package##*:}"
  fi
done
"${sudo_cmd[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
