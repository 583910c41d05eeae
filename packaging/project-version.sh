#!/usr/bin/env bash
# Prints the program's version as project() in CMakeLists.txt gives it (the
# one place it is kept), for the packaging scripts that run before or beside
# a build.
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(sed -n 's/^project(tallowbrook VERSION \([0-9][0-9.]*\)[ )].*/\1/p' CMakeLists.txt)
if ! [[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
  echo "project-version: no four-field version in CMakeLists.txt's project() (found [$version])" >&2
  exit 1
fi
echo "$version"
