#!/usr/bin/env bash
# Rebuilds the committed artwork under resources/ from the generators in tools/artwork.
# Usage: tools/make-artwork.sh [PREVIEW_FOLDER]   (each seascape part as the program shows it)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT
g++ -std=c++20 -O2 -Wall -Wextra -Werror -o "$build/make_artwork" tools/artwork/*.cpp
mkdir -p resources/pictures
"$build/make_artwork" resources/pictures ${1:+"$1"}
ls -l resources/pictures
