#!/usr/bin/env bash
# Rebuilds the creature's committed mesh tables (resources/creature) from the generator in
# tools/creature.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT
g++ -std=c++20 -O2 -Wall -Wextra -Werror -o "$build/make_creature" tools/creature/make_creature.cpp
mkdir -p resources/creature
"$build/make_creature" resources/creature/creature_meshes.inc
