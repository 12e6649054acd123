#!/usr/bin/env bash
# Builds and runs every test: the normal build, the installation and a program built against it, the
# AddressSanitizer + UndefinedBehaviorSanitizer build, the ThreadSanitizer build of the test programs that
# draw (the renderer runs several threads), a format check, and each fuzz harness for QOR_FUZZ_SECONDS
# (default 30) seconds.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
jobs=$(nproc)

echo "== format check"
bash scripts/format.sh --check

echo "== normal build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== installation"
bash scripts/check-install.sh build

echo "== sanitizer build (ASan + UBSan)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQOR_SANITIZE=ON -DQOR_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== thread sanitizer build (gdx, render, slide tests)"
tsan_start=$SECONDS
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQOR_TSAN=ON -DQOR_BUILD_BENCH=OFF \
    -DQOR_BUILD_APPS=OFF -DQOR_BUILD_OBJECTS=OFF >/dev/null
cmake --build build-tsan -j "$jobs" --target qor_test_gdx qor_test_render qor_test_slide
# Each program runs its tests in one process; halt_on_error makes the first race fail the run.
for folder in gdx render slide; do
    TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" build-tsan/tests/qor_test_$folder --gtest_brief=1
done
echo "thread sanitizer stage: $((SECONDS - tsan_start)) s"

if ls fuzz/*.cpp >/dev/null 2>&1; then
    echo "== fuzz harnesses (${QOR_FUZZ_SECONDS:-30} s each)"
    CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQOR_BUILD_FUZZ=ON \
        -DQOR_BUILD_TESTS=OFF -DQOR_BUILD_BENCH=OFF -DQOR_BUILD_APPS=OFF >/dev/null
    cmake --build build-fuzz -j "$jobs"
    bash scripts/run-fuzzers.sh build-fuzz "${QOR_FUZZ_SECONDS:-30}"
fi
