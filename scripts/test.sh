#!/bin/sh
# Builds Kelm and runs every test through CTest on Qt's offscreen platform, with a
# throwaway PostgreSQL server for the tests that run on a server as well as on the
# file. The server is stopped and its folder removed at the end, whatever happens.
#
# KELM_SANITIZE=1 adds a checking run afterwards: a separate build with AddressSanitizer
# and UndefinedBehaviorSanitizer (into ./build-sanitize) runs the whole suite again,
# with a longer fuzz run of the readers (KELM_FUZZ_ITERATIONS, 20000 unless set). It
# takes about a quarter of an hour on two cores, so it is not part of every run.
set -e
cd "$(dirname "$0")/.."
sh scripts/build.sh
export QT_QPA_PLATFORM=offscreen

pgdir=$(sh scripts/pgserver.sh start)
cleanup() { sh scripts/pgserver.sh stop "$pgdir"; }
trap cleanup EXIT
trap 'exit 130' INT TERM HUP
"$(dirname "$(ls -d /usr/lib/postgresql/*/bin/createdb | sort -V | tail -n 1)")/createdb" \
    -h "$pgdir" -U kelm kelm_test
export KELM_TEST_PGSQL="postgresql://kelm@/kelm_test?host=$pgdir"
# The server cases must run here: without a server they fail instead of being skipped.
export KELM_REQUIRE_PGSQL=1

(cd build && ctest --output-on-failure -j2 "$@")

if [ "${KELM_SANITIZE:-0}" = "1" ]; then
    cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKELM_SANITIZE=ON >/dev/null
    cmake --build build-sanitize
    # Leak reports are left out: the toolkit keeps some allocations to the end on purpose.
    export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:strict_string_checks=1"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    export KELM_FUZZ_ITERATIONS="${KELM_FUZZ_ITERATIONS:-20000}"
    (cd build-sanitize && ctest --output-on-failure -j2 --timeout 3000 "$@")
fi
