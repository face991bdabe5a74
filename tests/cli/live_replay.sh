# Sourced by the command-line tests: the public services replayed on loopback.
# start_replay REPLAY DATA WORK: starts the replay of DATA's recorded replies on a free port,
# waits until it listens; sets replay_pid, replay_url and live_options (--market live and every
# upstream option pointing at the replay).
start_replay() {
  "$1" "$2" > "$3/replay.out" &
  replay_pid=$!
  for _ in $(seq 50); do
    [ -s "$3/replay.out" ] && break
    sleep 0.1
  done
  replay_url="$(head -1 "$3/replay.out" | sed 's/^listening on //')"
  live_options=(--market live)
  for service in quotes history lists minutes fallback-quotes fallback-lists; do
    live_options+=("--$service-upstream" "$replay_url")
  done
}
