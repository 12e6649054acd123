#!/usr/bin/env bash
# Installs Qor from a build folder (default: build) into a temporary prefix and builds examples/consumer
# against the installation with CMake's find_package and with pkg-config; each program must draw the
# expected picture. Then configures it with Qor's sources added to its build, which must bring the
# libraries only (no tests, benchmarks or programs of ours).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
unset QOR_RES_DIR

cmake --install "$build" --prefix "$prefix" >/dev/null
internal=$(find "$prefix/include" -name '*_p.h')
# The window folders' headers belong to qor_ui: installed with it, never without it.
if [ -z "$(find "$prefix" -name 'libqor_ui.so')" ]; then
    internal="$internal $(find "$prefix/include" -path '*/ui/*')"
    internal=${internal# }
fi
if [ -n "$internal" ]; then
    echo "internal headers were installed:" $internal >&2
    exit 1
fi

cmake -S examples/consumer -B "$work/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/consumer"
"$work/consumer/qor-consumer" "$work/cmake.png"

libdir=$(dirname "$(find "$prefix" -name 'libqor_core.so' | head -n 1)")
# shellcheck disable=SC2046 # pkg-config prints several words on purpose
g++ -std=c++20 examples/consumer/main.cpp -o "$work/qor-consumer-pc" \
    $(PKG_CONFIG_PATH="$libdir/pkgconfig" pkg-config --cflags --libs qor-core) -Wl,-rpath,"$libdir"
"$work/qor-consumer-pc" "$work/pkg-config.png"

for png in cmake.png pkg-config.png; do
    if ! cmp -s "$work/$png" examples/consumer/expected.png; then
        cp "$work/$png" "${TMPDIR:-/tmp}/qor-consumer-$png"
        echo "the installed consumer drew a different picture: ${TMPDIR:-/tmp}/qor-consumer-$png" >&2
        exit 1
    fi
done
cmake -S examples/consumer -B "$work/subproject" -G Ninja -DQOR_SOURCE_DIR="$PWD" >/dev/null
if cmake --build "$work/subproject" --target help | grep -E 'qor_test_|bench_|qor-render'; then
    echo "Qor as a subproject builds more than its libraries" >&2
    exit 1
fi
echo "Qor works installed (CMake, pkg-config) and as a subproject"
