#!/bin/sh
# Builds Kelm and runs every test through CTest on Qt's offscreen platform, with a
# throwaway PostgreSQL server for the tests that run on a server as well as on the
# file. The server is stopped and its folder removed at the end, whatever happens.
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

cd build && ctest --output-on-failure -j2 "$@"
