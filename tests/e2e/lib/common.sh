# Sourced by the end-to-end scripts: start Tavrel on the test display, find its window, finish.
set -uo pipefail
: "${TAVREL_ROOT:?}" "${TAVREL_BUILD:?}"
root=$TAVREL_ROOT
source "$root/scripts/wine-env"
if [ -n "${TAVREL_DISPLAY:-}" ]; then
  export DISPLAY=$TAVREL_DISPLAY
else
  source "$root/scripts/xvfb-start"
  trap 'kill $xvfb_pid 2>/dev/null' EXIT
fi
failures=0

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
check() {  # description, then the command that must succeed
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else fail "$what"; fi
}

# start_tool EXE: starts it in the background (tool_pid) and waits for its window (tool_window).
start_tool() {
  "$WINELOADER" "$1" &
  tool_pid=$!
  tool_window=""
  for _ in $(seq 150); do
    tool_window=$(xdotool search --onlyvisible --name '^Tavrel$' 2>/dev/null | head -n1)
    [ -n "$tool_window" ] && return 0
    sleep 0.2
  done
  fail "the Tavrel window did not appear"
  return 1
}

# wait_tool SECONDS: waits for the tool to end; tool_exit is its exit code (or "running").
wait_tool() {
  local tenths=$(( $1 * 10 ))
  for _ in $(seq $tenths); do
    kill -0 "$tool_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$tool_pid" 2>/dev/null; then
    tool_exit=running
    kill "$tool_pid" 2>/dev/null
    wait "$tool_pid" 2>/dev/null
  else
    wait "$tool_pid"
    tool_exit=$?
  fi
}

# eventually SECONDS COMMAND...: true as soon as the command succeeds, false when time runs out.
eventually() {
  local tenths=$(( $1 * 10 )); shift
  for _ in $(seq $tenths); do "$@" && return 0; sleep 0.1; done
  return 1
}

probe() { "$WINELOADER" "$TAVREL_BUILD/tests/window_probe.exe" "$@" 2>/dev/null | tr -d '\r'; }

screenshot() { import -window root "$TAVREL_BUILD/$1.png"; }

finish() {
  if [ "$failures" -eq 0 ]; then echo "all checks passed"; exit 0; fi
  echo "$failures check(s) failed"
  exit 1
}
