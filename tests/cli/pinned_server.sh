# Sourced by the command-line tests and scripts/screenshots.sh: a lark-quote-server whose
# figures do not move, and a settings tree with one alarm set.

# The control interface takes POST only, with the token the server printed.
control() { curl -sf -X POST -H "X-Control-Token: $token" "http://$address/control/$1" > /dev/null; }

# start_pinned_server SERVER DIR: seed 7, the clock frozen, 600061 pinned rising to 12.34 as
# 测试股 and 0002 falling to 9.50; sets $address, $token and $server_pid (the caller ends it).
start_pinned_server() {
  "$1" --listen 127.0.0.1:0 --seed 7 --control > "$2/server.out" &
  server_pid=$!
  for _ in $(seq 50); do
    grep -q '^control token' "$2/server.out" && break
    sleep 0.1
  done
  address="$(sed -n 's/^listening on //p' "$2/server.out")"
  token="$(sed -n 's/^control token //p' "$2/server.out")"
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
