#!/usr/bin/env bash
# Starts the real IRC peers of the engine tests on 127.0.0.1: ngircd with a plain and a TLS port
# (certificate made here) and dante as a SOCKS5 proxy in front of it.
# Usage: start.sh INFO_FILE   -- writes the ports as NAME=VALUE lines to INFO_FILE.
set -euo pipefail
info=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
net_peers=$here/../../net/peers
if [ -f "$info" ]; then
  bash "$net_peers/stop.sh" "$info" || true
fi
dir=$(mktemp -d "${TMPDIR:-/tmp}/kv-irc-peers.XXXXXX")
echo "DIR=$dir" >"$info"
source "$net_peers/common.sh"

for program in ngircd danted openssl; do
  command -v "$program" >/dev/null || { echo "start.sh: $program is missing (scripts/setup installs it)"; exit 1; }
done

openssl req -x509 -newkey rsa:2048 -nodes -keyout "$dir/key.pem" -out "$dir/cert.pem" -days 1 \
  -subj /CN=localhost >"$dir/req.out" 2>&1
# Without a parameter file the server makes its own, which takes far longer.
openssl dhparam -dsaparam -out "$dir/dh.pem" 2048 >"$dir/dh.out" 2>&1

# The configuration of one ngircd: its name, plain port and pid file; TLS settings follow it.
write_ngircd_conf() {
  local file=$1 name=$2 plain=$3
  cat >"$file" <<CONF
[Global]
Name = $name
Info = Ketroval test server
AdminInfo1 = tests
AdminInfo2 = tests
AdminEMail = tests@localhost
Listen = 127.0.0.1
Ports = $plain
MotdPhrase = $name test server
PidFile = ${file%.conf}.run.pid
[Limits]
MaxNickLength = 30
PingTimeout = 300
[Options]
PAM = no
Ident = no
DNS = no
CONF
}

start_ngircd() {
  local plain=$1 tls
  tls=$(free_port)
  write_ngircd_conf "$dir/ngircd.conf" irc.test.local "$plain"
  cat >>"$dir/ngircd.conf" <<CONF
[SSL]
CertFile = $dir/cert.pem
KeyFile = $dir/key.pem
DHFile = $dir/dh.pem
Ports = $tls
CONF
  echo "$tls" >"$dir/tls.port"
  start_peer ngircd ngircd -n -f "$dir/ngircd.conf"
}

start_with_retry ngircd IRC_PORT start_ngircd
tls_port=$(cat "$dir/tls.port")
wait_listening "$(cat "$dir/ngircd.pid")" "$tls_port" || { echo "start.sh: no TLS port"; exit 1; }
echo "IRC_TLS_PORT=$tls_port" >>"$info"
# A second ngircd of its own name for the tests that hold two servers at once.
start_second_ngircd() {
  write_ngircd_conf "$dir/ngircd2.conf" second.test.local "$1"
  start_peer ngircd2 ngircd -n -f "$dir/ngircd2.conf"
}

start_with_retry ngircd2 IRC_SECOND_PORT start_second_ngircd

start_with_retry dante SOCKS_PORT start_dante
cat "$info"
