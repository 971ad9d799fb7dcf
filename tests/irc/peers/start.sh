#!/usr/bin/env bash
# Starts the real IRC peers of the engine tests on 127.0.0.1: ngircd with a plain and a TLS port
# (certificate made here), dante as a SOCKS5 proxy in front of it, and ircd-irc2 as an older
# server (unpacked into the cache by scripts/setup).
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
PORT_BASE=20000

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
# The real program's tests have an ngircd of their own, so they run beside the engine's server tests.
start_program_ngircd() {
  write_ngircd_conf "$dir/ngircd4.conf" program.test.local "$1"
  start_peer ngircd4 ngircd -n -f "$dir/ngircd4.conf"
}

start_with_retry ngircd4 IRC_PROGRAM_PORT start_program_ngircd

start_with_retry dante SOCKS_PORT start_dante

# The program's first start offers no port: a server on the usual IRC port 6667, on 127.0.0.1
# when that is free, else on another loopback address (another run may hold it).
start_wizard_ngircd() {
  local address
  for address in 127.0.0.1 $(for _ in $(seq 20); do echo "127.0.$((RANDOM % 250 + 2)).$((RANDOM % 250 + 2))"; done); do
    (exec 3<>"/dev/tcp/$address/6667") 2>/dev/null && continue
    write_ngircd_conf "$dir/ngircd3.conf" wizard.test.local 6667
    sed -i "s/^Listen = .*/Listen = $address/" "$dir/ngircd3.conf"
    start_peer ngircd3 ngircd -n -f "$dir/ngircd3.conf"
    for _ in $(seq 100); do
      kill -0 "$(cat "$dir/ngircd3.pid")" 2>/dev/null || break
      if (exec 3<>"/dev/tcp/$address/6667") 2>/dev/null; then
        echo "IRC_WIZARD_HOST=$address" >>"$info"
        return 0
      fi
      sleep 0.05
    done
    kill "$(cat "$dir/ngircd3.pid")" 2>/dev/null || true
  done
  echo "start.sh: no address with a free port 6667; the first-start road test will fail"
}
start_wizard_ngircd

# ircd-irc2 takes no configuration path: it reads /etc/ircd/ircd.conf and ircd.motd and writes
# /run/ircd/ircd.pid. It runs in a mount namespace of its own where /etc and /run are overlays
# whose changes land in this folder; the machine's own folders stay untouched.
irc2=${KETROVAL_CACHE:-$HOME/.cache/ketroval2}/ircd-irc2
namespace=(unshare -m --propagation private)
[ "$(id -u)" = 0 ] || namespace=(unshare -r -m --propagation private)
start_irc2() {
  local port=$1 root=$dir/irc2
  rm -rf "$root"
  mkdir -p "$root/etc/ircd" "$root/etc.work" "$root/run/ircd" "$root/run.work"
  cp "$irc2/etc/ircd/ircd.m4" "$root/etc/ircd/"
  # Fields are separated by %; clients from 127.0.0.1 need no password and no DNS name.
  cat >"$root/etc/ircd/ircd.conf" <<CONF
M%irc2.test.local%127.0.0.1%Ketroval old test server%%042X
A%tests%tests%tests@localhost%%TestNet
Y%1%90%%100%512000%5.5%100.100
I%*@127.0.0.1%%%%1%%
P%127.0.0.1%%%$port%
CONF
  printf '%s\n' 'old test server' >"$root/etc/ircd/ircd.motd"
  # shellcheck disable=SC2016
  start_peer irc2 "${namespace[@]}" sh -c '
    mount -t overlay overlay -o "lowerdir=/etc,upperdir=$1/etc,workdir=$1/etc.work" /etc &&
    mount -t overlay overlay -o "lowerdir=/run,upperdir=$1/run,workdir=$1/run.work" /run &&
    exec "$2" -t -s -p standalone -T "$1/ircd.tune"' sh "$root" "$irc2/usr/sbin/ircd"
}
# Without it only the old-server tests fail (no IRC2_PORT); the others still have their peers.
if [ -x "$irc2/usr/sbin/ircd" ] && command -v m4 >/dev/null && command -v unshare >/dev/null; then
  start_with_retry irc2 IRC2_PORT start_irc2 || echo "start.sh: the old-server tests will fail"
else
  echo "start.sh: $irc2 or m4 is missing (scripts/setup provides them)"
fi
cat "$info"
