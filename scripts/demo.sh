#!/usr/bin/env bash
# Sets everything up, builds the launcher bundle and shows the launcher's main
# job on the built-in demo, twice, with a demo home inside the build folder
# (build/demo-home; the real ~/.Korvane is never touched):
#   run 1: a first install from the demo package; the demo client starts.
#   run 2: a package with a higher build number while that client still runs:
#          the client is stopped, the progress dialog shows during the
#          upgrade, the new client starts. This package also carries the Qt
#          frameworks a real client has (built by korvane_demo_frameworks),
#          so the upgrade lasts long enough to see the bar move; a
#          screenshot with the bar part-way goes to build/demo-upgrade.png.
# It uses your display when $DISPLAY works, otherwise an Xvfb of its own,
# and stops the demo client at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

if [ -z "${KORVANE_DEMO_UNDER_TINI:-}" ]; then
  bash scripts/setup.sh
  # The launcher starts the client detached; its parent then is whoever
  # reaps orphans. Process 1 here may not, and a client that has ended but is
  # not reaped still "runs" for kill(pid, 0): run 2 would wait 15 s for it.
  # tini -s adopts and reaps those orphans.
  export KORVANE_DEMO_UNDER_TINI=1
  exec tini -s -- bash "$root/scripts/demo.sh" "$@"
fi

# KORVANE_BUILD_DIR picks another build folder (default: build/).
build=${KORVANE_BUILD_DIR:-$root/build}
echo "== building the launcher bundle in $build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target korvane_bundle korvane_demo_frameworks -j "$(nproc)"

bundle="$build/Korvane Client.app"
launcher="$bundle/Contents/MacOS/korvane-launcher"
home=$build/demo-home
korvane=$home/.Korvane
next_dir=$build/demo-next
next_bundle="$next_dir/Korvane Client.app"
rm -rf "$home" "$next_dir"
mkdir -p "$home"

# --- display --------------------------------------------------------------
xvfb_pid=
cleanup() {
  stop_client quiet || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "== using your display $DISPLAY"
else
  # Xvfb's socket appears before it accepts connections: it is ready when it
  # writes its display number to -displayfd.
  displayfile="$build/xvfb-display"
  : >"$displayfile"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
  xvfb_pid=$!
  n=
  for _ in $(seq 400); do
    n=$(sed -n 's/^\([0-9][0-9]*\)$/\1/p' "$displayfile")
    [ -n "$n" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.05
  done
  if [ -z "$n" ]; then echo "demo: Xvfb did not start" >&2; exit 1; fi
  export DISPLAY=":$n"
  echo "== no usable display: started Xvfb on $DISPLAY"
fi

# --- helpers --------------------------------------------------------------
demo_env=(env -u LC_ALL -u LANGUAGE HOME="$home" QT_QPA_PLATFORM=xcb DISPLAY="$DISPLAY"
          KORVANE_UI_EXIT_DELAY=2 KORVANE_UI_LIFETIME=600)

client_pid() {
  sed -n 's/^pid=\([0-9][0-9]*\)$/\1/p' "$korvane/ui.pid" 2>/dev/null | head -n 1
}
alive() {  # a live process, not a zombie
  [ -n "$1" ] && kill -0 "$1" 2>/dev/null && ! grep -q '^[0-9]* (.*) Z' "/proc/$1/stat" 2>/dev/null
}
wait_client() {  # until ui.pid names a live client other than $1
  local p
  for _ in $(seq 100); do
    p=$(client_pid)
    if [ -n "$p" ] && [ "$p" != "${1:-}" ] && alive "$p"; then echo "$p"; return 0; fi
    sleep 0.05
  done
  return 1
}
stop_client() {
  local p
  p=$(client_pid)
  if alive "$p"; then
    kill "$p"
    for _ in $(seq 100); do alive "$p" || break; sleep 0.05; done
    [ "${1:-}" = quiet ] || echo "demo client $p stopped"
  fi
}
info_build() {
  sed -n 's/^build_version=//p' "$1" 2>/dev/null | head -n 1
}
report() {
  local installed p
  installed=$(info_build "$korvane/Korvane.app/Contents/Resources/INFO")
  echo "-- after $1 (launcher exit code $2, ${3}s)"
  echo "   installed: $korvane/Korvane.app, build_version ${installed:-none}"
  if p=$(wait_client "${4:-}"); then
    echo "   demo client: running, pid $p ($(readlink "/proc/$p/exe"))"
  else
    echo "   demo client: not running"
  fi
  echo "   last lines of $korvane/log/launcher.log:"
  tail -n 6 "$korvane/log/launcher.log" | sed 's/^/     /'
}
run_launcher() {  # bundle [watch]; sets rc and secs
  local start
  start=$(date +%s%N)
  set +e
  "${demo_env[@]}" "$1/Contents/MacOS/korvane-launcher" 2>>"$build/demo-launcher.err" &
  local pid=$!
  if [ "${2:-}" = watch ]; then watch_dialog "$pid"; fi
  wait "$pid"
  rc=$?
  set -e
  local ms=$((($(date +%s%N) - start) / 1000000))
  secs=$((ms / 1000)).$((ms % 1000 / 100))
}
bar_percent() {  # how far the bar in a screenshot of the dialog is filled, 0 to 100
  # The bar's chunk is the only saturated colour in the lower half of the
  # dialog (the label above it is dark on light). It starts at the groove's
  # left and the groove is centred, so a full chunk spans width - 2 * left.
  local size w h box cw cx
  size=$(identify -format '%w %h' "$1") || return 1
  read -r w h <<<"$size"
  box=$(convert "$1" -crop "${w}x$((h / 2))+0+$((h / 2))" +repage -colorspace HSL \
        -channel G -separate +channel -threshold 20% -format '%@' info: 2>/dev/null) || return 1
  cw=${box%%x*}
  cx=$(sed -n 's/^[0-9]*x[0-9]*+\([0-9]*\)+.*/\1/p' <<<"$box")
  if [ -z "$cx" ] || [ "$cw" -le 1 ] || [ "$cw" -ge "$w" ]; then echo 0; return 0; fi
  echo $((100 * cw / (w - 2 * cx)))
}
watch_dialog() {  # launcher pid: find its dialog, save a screenshot with the bar part-way
  command -v xdotool >/dev/null || return 0
  local w=
  for _ in $(seq 60); do
    w=$(xdotool search --onlyvisible --name '^Korvane Client$' 2>/dev/null | head -n 1) && [ -n "$w" ] && break
    sleep 0.05
  done
  if [ -z "$w" ]; then echo "   (the dialog was not seen)"; return 0; fi
  local geo
  geo=$(xwininfo -id "$w" | sed -n 's/.*Width: \([0-9]*\)/\1/p;s/.*Height: \([0-9]*\)/\1/p' | paste -sd x)
  echo "   dialog on screen: '$(xdotool getwindowname "$w")', ${geo} pixels"
  command -v import >/dev/null || return 0
  # Look again and again until a screenshot shows the bar neither empty nor
  # full, for as long as the launcher runs and at most 200 looks.
  local shot=$build/demo-upgrade.png look=$build/demo-look.png pct= n=0
  rm -f "$shot"
  while [ "$n" -lt 200 ] && alive "$1"; do
    n=$((n + 1))
    import -window "$w" "$look" 2>/dev/null || break
    pct=$(bar_percent "$look") || break
    if [ "$pct" -ge 10 ] && [ "$pct" -le 90 ]; then
      mv "$look" "$shot"
      echo "   screenshot: $shot (look $n, the bar at about $pct %)"
      return 0
    fi
  done
  rm -f "$look"
  echo "   (no screenshot caught the bar part-way in $n looks; the last showed ${pct:-no} %)"
}

: >"$build/demo-launcher.err"
built=$(info_build "$bundle/Contents/Resources/INFO")
echo
echo "== run 1: first install of build $built into the demo home $home"
run_launcher "$bundle"
report "run 1" "$rc" "$secs"
first=$(client_pid)

echo
next=$((built + 1))
echo "== run 2: a package with build $next while the demo client ${first:-?} runs"
mkdir -p "$next_dir"
cp -a "$bundle" "$next_bundle"
cmake -DPACK="$build/pack/korvane-pack" -DUI="$build/demo/korvane-ui" -DINFO_IN="$root/app/bundle/INFO.in" -DBUILD="$next" \
      -DSTAGE="$next_dir/stage" -DOUT="$next_bundle/Contents/Resources/package/tarnwick.pkv" \
      -DINFO_OUT="$next_bundle/Contents/Resources/INFO" -DEXTRA="$build/demo-frameworks" \
      -P "$root/cmake/MakePackage.cmake"
run_launcher "$next_bundle" watch
if [ -n "$first" ] && ! alive "$first"; then
  echo "   old demo client $first: stopped by the launcher"
else
  echo "   old demo client ${first:-?}: still running"
fi
report "run 2" "$rc" "$secs" "$first"

echo
stop_client
echo "== done. Demo home: $home (remove it with: rm -rf '$home')"
