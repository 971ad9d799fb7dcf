# Helpers of the peer fixtures; the caller sets dir (the peers' folder) and info (the ports file).

port_in_use() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

# Ports come from below the system's range for outgoing connections and the test programs' own
# listeners, and each peer script from a range of its own (PORT_BASE): the scripts start side by
# side, and a port found free by one must not be taken by the other's peer before it is bound.
free_port() {
  local port
  for _ in $(seq 50); do
    port=$((${PORT_BASE:-20000} + RANDOM % 6000))
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

