#!/usr/bin/env bash
# Sets up, builds and runs every test: the core and window tests, then the
# core tests again under AddressSanitizer and UBSan, the Debian package
# installed and run as an ordinary user, then each fuzz harness for a short
# bounded time (scripts/fuzz.sh; FUZZ_SECONDS per harness).
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
phase() { echo "== $1 (at ${SECONDS} s)"; }
phase "build"
scripts/setup.sh build
phase "sanitizer build"
# -O1 -g1: the sanitizers catch the same faults, and the test files build
# nearly three times faster than at -O2 -g (line tables still name the lines).
scripts/setup.sh build-asan -DTAMBOR_SANITIZE=ON -DTAMBOR_BUILD_UI=OFF -DTAMBOR_BUILD_BENCH=OFF \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG"
# One process for all the core tests: under the sanitizers, starting one
# process per test would take several times longer than the tests.
phase "core tests under AddressSanitizer/UBSan"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    build-asan/tests/tambor_core_tests --gtest_brief=1
phase "all tests"
ctest --test-dir build --output-on-failure -j 2
phase "Debian package"
# Builds the package, then installs it and runs it as fresh ordinary users
# (root only: it installs a package and adds temporary accounts).
if [ "$(id -u)" -ne 0 ]; then
    echo "(skipped: the package test installs a package and adds users, which needs root)"
elif dpkg-query -W -f='${Status}' tambor 2>/dev/null | grep -q "install ok installed"; then
    echo "(skipped: a tambor package is installed on this machine and is left alone)"
else
    tests/package/check_package.sh "$(scripts/package.sh | tail -n 1)"
fi
phase "fuzz harnesses"
scripts/fuzz.sh "${FUZZ_SECONDS:-12}"
phase "done"
