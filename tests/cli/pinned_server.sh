# Sourced by the command-line tests, the soak, the window benchmarks and scripts/screenshots.sh:
# a lark-quote-server with its control interface, one whose figures do not move, and a
# settings tree with one alarm set.

# The control interface takes POST only, with the token the server printed.
control() { curl -sf -X POST -H "X-Control-Token: $token" "http://$address/control/$1" > /dev/null; }

# start_control_server SERVER DIR [OPTION...]: the server on a free loopback port with its
# control interface; sets $address, $token and $server_pid (the caller ends it).
start_control_server() {
  local server="$1" dir="$2"
  shift 2
  "$server" --listen 127.0.0.1:0 --control "$@" > "$dir/server.out" &
  server_pid=$!
  for _ in $(seq 50); do
    grep -q '^control token' "$dir/server.out" && break
    sleep 0.1
  done
  address="$(sed -n 's/^listening on //p' "$dir/server.out")"
  token="$(sed -n 's/^control token //p' "$dir/server.out")"
}

# start_pinned_server SERVER DIR: seed 7, the clock frozen, 600061 pinned rising to 12.34 as
# 测试股 and 0002 falling to 9.50; sets $address, $token and $server_pid (the caller ends it).
start_pinned_server() {
  start_control_server "$1" "$2" --seed 7
  control "freeze?time=1700000000"
  control "pin?code=600061&name=%E6%B5%8B%E8%AF%95%E8%82%A1&previousClose=12000&last=12340&volume=234567&bid1Price=12330&ask1Price=12350"
  control "pin?code=0002&previousClose=10000&last=9500"
}

# store_rise_alarm REGISTRY: a rise alarm of 1 % on slot 8 (600061), stored as the program
# stores it: text and a NUL.
store_rise_alarm() {
  mkdir -p "$1/SOFTWARE/halvern/tamberly"
  printf '  1.00\0' > "$1/SOFTWARE/halvern/tamberly/24"
}
