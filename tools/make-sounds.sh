#!/usr/bin/env bash
# Rebuilds the committed sounds under resources/sounds from the generator in tools/sounds.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT
g++ -std=c++20 -O2 -Wall -Wextra -Werror -o "$build/make_sounds" tools/sounds/make_sounds.cpp
mkdir -p resources/sounds
"$build/make_sounds" resources/sounds
ls -l resources/sounds
