#!/usr/bin/env bash
# A throw-away PostgreSQL server for the tests of the shared inventory:
#
#   test-server.sh start DIR   makes a new cluster in DIR and starts it
#   test-server.sh stop DIR    stops it and removes DIR
#   test-server.sh halt DIR    stops it and keeps DIR, so that `resume` can start it again
#   test-server.sh resume DIR
#
# The server listens on a Unix socket in DIR, where it trusts every local user, and on
# 127.0.0.1 with TLS only (a self-signed certificate made here, DIR/server.crt) and a
# password: user tarnwick, password tarnwick-test. Plain TCP is refused, as a server that
# requires TLS refuses it. DIR/pg_service.conf names both ways in: service "tarnwick" (the
# socket) and "tarnwick_tcp" (TCP, checking the certificate against DIR/server.crt).
#
# initdb refuses to run as root, so as root the cluster belongs to the system's postgres
# user (or nobody) and the server runs as that user.
set -euo pipefail
action=${1:?usage: test-server.sh start|stop|halt|resume DIR}
dir=${2:?usage: test-server.sh start|stop|halt|resume DIR}

bindir=$(pg_config --bindir 2>/dev/null || true)
if [[ ! -x $bindir/initdb ]]; then
    bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
fi
if [[ ! -x $bindir/initdb ]]; then
    echo "test-server.sh: no PostgreSQL server found (Debian package postgresql-15)" >&2
    exit 1
fi

as_owner=()
owner=$(id -un)
if [[ $(id -u) -eq 0 ]]; then
    owner=nobody
    getent passwd postgres >/dev/null && owner=postgres
    as_owner=(runuser -u "$owner" --)
fi
pg_ctl() { "${as_owner[@]}" "$bindir/pg_ctl" -D "$dir/data" "$@"; }

# A halted server finishes what it has begun (fast mode), so that it starts again with every
# committed row; a server that is thrown away need not.
stop() {
    if [[ -f $dir/data/postmaster.pid ]]; then
        pg_ctl -m "$1" -w stop >/dev/null || true
    fi
}

start() {
    pg_ctl -l "$dir/server.log" -w -t 30 start >/dev/null
}

case $action in
stop)
    stop immediate
    rm -rf "$dir"
    exit 0
    ;;
halt)
    stop fast
    exit 0
    ;;
resume)
    start
    exit 0
    ;;
start) ;;
*)
    echo "test-server.sh: unknown action $action" >&2
    exit 2
    ;;
esac

stop immediate
rm -rf "$dir"
mkdir -p "$dir"
chmod 700 "$dir"
openssl req -x509 -newkey rsa:2048 -nodes -days 30 -subj /CN=127.0.0.1 \
    -addext subjectAltName=IP:127.0.0.1 -keyout "$dir/server.key" -out "$dir/server.crt" \
    2>/dev/null
chmod 600 "$dir/server.key"
chown -R "$owner" "$dir"
"${as_owner[@]}" "$bindir/initdb" -D "$dir/data" -U tarnwick --auth=trust --no-sync \
    --no-locale -E UTF8 >"$dir/initdb.log"

cat >"$dir/data/pg_hba.conf" <<EOF
local all all trust
hostssl all all 127.0.0.1/32 scram-sha-256
host all all 127.0.0.1/32 reject
EOF

# A free port: the server itself tells whether the one tried is taken.
started=
for _ in $(seq 20); do
    port=$((20000 + RANDOM % 30000))
    cat >"$dir/data/postgresql.auto.conf" <<EOF
port = $port
listen_addresses = '127.0.0.1'
unix_socket_directories = '$dir'
max_connections = 100
shared_buffers = 32MB
fsync = off
synchronous_commit = off
full_page_writes = off
ssl = on
ssl_cert_file = '$dir/server.crt'
ssl_key_file = '$dir/server.key'
EOF
    if start 2>/dev/null; then
        started=1
        break
    fi
done
if [[ -z $started ]]; then
    echo "test-server.sh: the server did not start; see $dir/server.log" >&2
    exit 1
fi

"$bindir/psql" -q -h "$dir" -p "$port" -U tarnwick -d postgres \
    -c "alter role tarnwick password 'tarnwick-test'"
cat >"$dir/pg_service.conf" <<EOF
[tarnwick]
host=$dir
port=$port
user=tarnwick
dbname=postgres

[tarnwick_tcp]
host=127.0.0.1
port=$port
user=tarnwick
dbname=postgres
sslrootcert=$dir/server.crt
EOF
chmod 644 "$dir/pg_service.conf"
echo "test server on port $port in $dir"
