# Sourced by scripts/demo and bench/crawl: serves a folder over HTTP on
# 127.0.0.1, at a port the system picks, with python3's http.server in the
# background.
#
#   serve_dir DIR LOG   starts it; sets server_pid and server_port, or
#                       prints the server's log and returns 1
#   stop_server         stops it (harmless when none runs: put it in a trap)

server_pid=
server_port=

serve_dir() {
  # Port 0: the system picks a free port, which the server prints first.
  python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$1" >"$2" 2>&1 &
  server_pid=$!
  for _ in $(seq 100); do
    server_port=$(sed -n 's/^Serving HTTP on [^ ]* port \([0-9]*\).*/\1/p' "$2")
    [ -n "$server_port" ] && return 0
    kill -0 "$server_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "the HTTP server did not start:" >&2
  cat "$2" >&2
  return 1
}

stop_server() {
  if [ -n "$server_pid" ]; then
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
    server_pid=
  fi
}
