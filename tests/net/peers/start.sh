#!/usr/bin/env bash
# Starts the real peers of the network tests on 127.0.0.1, each on a free port with its own files
# in a temporary folder: dante (SOCKS4 and SOCKS5 without authentication), microsocks (SOCKS5
# with user and password) and openssl s_server (TLS, answers each line reversed).
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

port_in_use() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

free_port() {
  local port
  for _ in $(seq 50); do
    port=$((20000 + RANDOM % 30000))
    if ! port_in_use "$port"; then
      echo "$port"
      return
    fi
  done
  echo "start.sh: no free port found" >&2
  return 1
}

# Waits until the process still runs and its port answers.
wait_listening() {
  local pid=$1 port=$2
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || return 1
    port_in_use "$port" && return 0
    sleep 0.05
  done
  return 1
}

# Runs a peer detached from ctest's pipes, so ctest does not wait for it; records its pid.
start_peer() {
  local name=$1
  shift
  setsid "$@" </dev/null >"$dir/$name.out" 2>&1 &
  echo $! >"$dir/$name.pid"
}

start_with_retry() {
  local name=$1 key=$2 port
  shift 2
  for _ in 1 2 3; do
    port=$(free_port)
    "$@" "$port"
    if wait_listening "$(cat "$dir/$name.pid")" "$port"; then
      echo "$key=$port" >>"$info"
      return 0
    fi
    kill "$(cat "$dir/$name.pid")" 2>/dev/null || true
  done
  echo "start.sh: $name did not start:"
  cat "$dir/$name.out"
  return 1
}

start_dante() {
  local port=$1
  cat >"$dir/sockd.conf" <<CONF
logoutput: $dir/sockd.log
internal: 127.0.0.1 port = $port
external: 127.0.0.1
clientmethod: none
socksmethod: none
client pass {
    from: 127.0.0.1/32 to: 0.0.0.0/0
}
socks pass {
    from: 127.0.0.1/32 to: 127.0.0.0/8
    protocol: tcp
}
CONF
  start_peer dante danted -f "$dir/sockd.conf" -p "$dir/sockd.run.pid" -N 1
}

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

start_with_retry dante SOCKS_PORT start_dante
start_with_retry microsocks SOCKS_AUTH_PORT start_microsocks
start_with_retry tls TLS_PORT start_tls
echo "SOCKS_USER=$socks_user" >>"$info"
echo "SOCKS_PASSWORD=$socks_password" >>"$info"
cat "$info"
