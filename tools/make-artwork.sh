#!/usr/bin/env bash
# Rebuilds the committed artwork under resources/ from the generators in tools/artwork.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT
g++ -std=c++20 -O2 -Wall -Wextra -Werror -o "$build/make_artwork" tools/artwork/*.cpp
mkdir -p resources/pictures
"$build/make_artwork" resources/pictures
ls -l resources/pictures
