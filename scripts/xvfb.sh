# Sourced: start_xvfb starts a private Xvfb on a free display, exports DISPLAY and sets
# xvfb_pid; the caller kills that pid (and only that one) when done.
start_xvfb() {
  local n=${KALVO_XVFB_FIRST:-90}
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  local i
  for i in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then
      # Another run took the number between our test and Xvfb's start: try the next one.
      n=$((n + 1)); Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 & xvfb_pid=$!
    fi
    sleep 0.1
  done
  export DISPLAY=":$n"
}
