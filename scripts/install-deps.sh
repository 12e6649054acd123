#!/usr/bin/env bash
# Installs the Debian packages Qor needs to build, test, benchmark and fuzz. Idempotent: it asks apt only
# for what is missing, and refreshes the package lists first only then.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config ccache
    libgtest-dev libgmock-dev libbenchmark-dev
    libpng-dev nlohmann-json3-dev libcairo2-dev
    clang libclang-rt-14-dev clang-format
    # emf2svg-conv, the outside check every metafile the tests write must pass
    emf2svg
    # tools/make_stroke_font.cpp (a development step, not the build): FreeType and the font it reads
    libfreetype-dev fonts-dejavu-core
    # qor_objects: the solid modeller is Open CASCADE; in Debian 12 the visualization package carries
    # NCollection_AliasedArray.hxx, which the modelling headers include; its CMake package names libtbb.so
    # as a link dependency of TKernel without depending on libtbb-dev
    libocct-foundation-dev libocct-modeling-data-dev libocct-modeling-algorithms-dev libocct-visualization-dev
    libtbb-dev
    # qor_ui: wxWidgets on GTK 3; its window tests run on a virtual X server
    libwxgtk3.2-dev xvfb xauth
    # the SVG the clipboard offers is checked by rendering it with rsvg-convert
    librsvg2-bin
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
