# Sourced: show_kalvo OUT.png MENU DESKTOP [ARGS...] starts kalvo.exe through winctl on the
# current display, saves a screenshot once the window is up (MENU 1: over an open context
# menu; DESKTOP 1: inside a 640x480 Wine virtual desktop), closes it and prints its exit code.
show_kalvo() {
  local out=$1 menu=$2 desktop=$3
  shift 3
  local flags
  flags=$(mktemp -d)
  local winflags="Z:${flags//\//\\}"
  local runner=("$here/wine-run")
  [ "$desktop" = 1 ] && runner+=(explorer /desktop=Kalvo,640x480)
  "${runner[@]}" build/windows/winctl.exe show "$winflags" 60 "$menu" build/windows/kalvo.exe "$@" &
  local pid=$! i
  for i in $(seq 1 600); do
    [ -e "$flags/shown" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -e "$flags/shown" ]; then
    import -window root -crop 640x480+0+0 "$out"
    echo "Screenshot: $out"
  else
    echo "The window did not appear." >&2
  fi
  touch "$flags/taken"
  wait "$pid" || true
  rm -rf "$flags"
}
