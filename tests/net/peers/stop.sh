#!/usr/bin/env bash
# Stops the peers that start.sh started (by their recorded ids) and removes their folder.
# Usage: stop.sh INFO_FILE
set -uo pipefail
info=$1
[ -f "$info" ] || exit 0
dir=$(sed -n 's/^DIR=//p' "$info")
if [ -n "$dir" ] && [ -d "$dir" ]; then
  for pidfile in "$dir"/*.pid; do
    [ -f "$pidfile" ] || continue
    pid=$(cat "$pidfile")
    [ -n "$pid" ] || continue
    # Each peer runs in its own session led by the recorded process: end that group only.
    kill -TERM -- "-$pid" 2>/dev/null || kill -TERM "$pid" 2>/dev/null || true
  done
  for pidfile in "$dir"/*.pid; do
    [ -f "$pidfile" ] || continue
    pid=$(cat "$pidfile")
    for _ in $(seq 40); do
      kill -0 -- "-$pid" 2>/dev/null || break
      sleep 0.05
    done
    kill -KILL -- "-$pid" 2>/dev/null || true
  done
  rm -rf "$dir"
fi
rm -f "$info"
