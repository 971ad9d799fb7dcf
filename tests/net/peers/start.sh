#!/usr/bin/env bash
# Starts the real peers of the network tests on 127.0.0.1, each on a free port with its own files
# in a temporary folder: dante (SOCKS4 and SOCKS5 without authentication), microsocks (SOCKS5
# with user and password) and openssl s_server (TLS, answers each line reversed: one of the
# current versions, one that speaks only TLS 1.0).
# Usage: start.sh INFO_FILE   -- writes the ports as NAME=VALUE lines to INFO_FILE.
set -euo pipefail
info=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [ -f "$info" ]; then
  bash "$here/stop.sh" "$info" || true
fi
dir=$(mktemp -d "${TMPDIR:-/tmp}/kv-net-peers.XXXXXX")
echo "DIR=$dir" >"$info"

for program in danted microsocks openssl; do
  command -v "$program" >/dev/null || { echo "start.sh: $program is missing (scripts/setup installs it)"; exit 1; }
done

source "$here/common.sh"
PORT_BASE=26000

socks_user=kvuser
socks_password='pa:ss word'
start_microsocks() {
  start_peer microsocks microsocks -i 127.0.0.1 -p "$1" -u "$socks_user" -P "$socks_password"
}

openssl req -x509 -newkey rsa:2048 -nodes -keyout "$dir/key.pem" -out "$dir/cert.pem" -days 1 \
  -subj /CN=localhost >"$dir/req.out" 2>&1
start_tls() {
  start_peer tls openssl s_server -accept "127.0.0.1:$1" -cert "$dir/cert.pem" -key "$dir/key.pem" -rev -quiet
}
# The host's own library refuses TLS 1.0 at its default security level, as a server it too.
start_tls10() {
  start_peer tls10 openssl s_server -accept "127.0.0.1:$1" -cert "$dir/cert.pem" -key "$dir/key.pem" -rev -quiet \
    -tls1 -cipher DEFAULT@SECLEVEL=0
}

start_with_retry dante SOCKS_PORT start_dante
start_with_retry microsocks SOCKS_AUTH_PORT start_microsocks
start_with_retry tls TLS_PORT start_tls
start_with_retry tls10 TLS10_PORT start_tls10
echo "SOCKS_USER=$socks_user" >>"$info"
echo "SOCKS_PASSWORD=$socks_password" >>"$info"
cat "$info"
