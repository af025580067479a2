#!/bin/sh
# A throwaway PostgreSQL server for the tests: a cluster in a temporary folder that
# listens only on a Unix socket inside that folder.
#   pgserver.sh start   prints the folder; the server runs until "stop"
#   pgserver.sh stop DIR   stops the server and removes the folder
# The tests run it without syncing to disk (fsync=off); KELM_PG_FSYNC=on keeps the
# server's usual syncing, for benchmarks.
# PostgreSQL refuses to run as root, so under root the cluster belongs to "nobody".
set -e
bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$bindir/pg_ctl" ] || { echo "PostgreSQL server programs not found" >&2; exit 1; }

as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u nobody -- "$@"
    else
        "$@"
    fi
}

case "$1" in
start)
    case "${KELM_PG_FSYNC:-off}" in on | off) ;; *) echo "KELM_PG_FSYNC must be on or off" >&2; exit 2 ;; esac
    dir=$(mktemp -d "${TMPDIR:-/tmp}/kelm-pg.XXXXXX")
    chmod 755 "$dir"
    [ "$(id -u)" -eq 0 ] && chown nobody "$dir"
    if ! as_owner "$bindir/initdb" -D "$dir/data" -U kelm --auth=trust -E UTF8 \
            --locale=C.UTF-8 >"$dir/initdb.log" 2>&1; then
        cat "$dir/initdb.log" >&2
        rm -rf "$dir"
        exit 1
    fi
    # No TCP port: only the socket in the folder, so parallel runs never collide.
    if ! as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
            -o "-c listen_addresses='' -c unix_socket_directories='$dir' -c fsync=${KELM_PG_FSYNC:-off} -c max_connections=200" \
            start >/dev/null 2>&1; then
        cat "$dir/server.log" >&2
        rm -rf "$dir"
        exit 1
    fi
    echo "$dir"
    ;;
stop)
    dir="$2"
    [ -n "$dir" ] && [ -d "$dir" ] || exit 0
    as_owner "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
    rm -rf "$dir"
    ;;
*)
    echo "usage: $0 start | stop DIR" >&2
    exit 2
    ;;
esac
