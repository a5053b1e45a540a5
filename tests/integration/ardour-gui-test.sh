#!/bin/sh
# Proves the module's editor inside Ardour 7's GUI, run headless under a private Xvfb: Ardour loads a
# session whose plug-in window is marked open and opens the editor by itself; the editor must sit
# inside Ardour's plug-in window at 350 x 430 times the desktop's scale (SCALE, 1 by default, set
# as Xft.dpi as HiDPI desktops do) and look exactly like the headless rendering at that scale; a drag
# on the left feedback slider must change the parameter that Ardour saves and the value the editor
# displays; Ardour must quit with status 0 after closing the editor and the effect.
#
# Ardour loads a tracing stand-in (TRACER) that forwards to MODULE and logs the editor opcodes, so
# the order and thread of Ardour's calls are checked too. A failure names its step and keeps WORK,
# which holds Ardour's log, the trace and the screenshots.
#
# MODULE may be the LV2 bundle instead (TRACER is then not used): Ardour loads it by its URI and
# passes its own scale, set to SCALE, as the UI's scale factor; the drag changes the port's value
# in the units of its text (FeedBackL 50 -> 100).
#
# usage: ardour-gui-test.sh MODULE TRACER SCREEN-CHECK SNAPSHOT SCRIPT-DIR WORK NAME [SCALE]
# Exits 77 (skipped) when Ardour 7 or the X tools are not installed.
set -eu

module=$1 tracer=$2 screen_check=$3 snapshot=$4 scripts=$5 work=$6 name=$7 scale=${8:-1}
width_expected=$((350 * scale)) height_expected=$((430 * scale))
format=vst feedback_start=0.5 feedback_top=1
if [ -d "$module" ]; then format=lv2 feedback_start=50 feedback_top=100; fi
. "$scripts/ardour-common.sh"
ardour_require_installed
for tool in Xvfb xdotool xwininfo xwd xprop; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "$tool is not installed (Debian packages xvfb, xdotool, x11-utils, x11-apps); skipping"
    exit 77
  fi
done

step="set-up"
xvfb_pid=""
ardour_pid=""
started_ms=$(($(date +%s%N) / 1000000))

# Prints the seconds since the test started.
elapsed() {
  now=$(($(date +%s%N) / 1000000))
  printf '%d.%03d s' $(((now - started_ms) / 1000)) $(((now - started_ms) % 1000))
}

begin() {
  step=$1
  echo "== [$(elapsed)] $step"
}

fail() {
  echo "FAIL in step '$step': $*"
  if [ -n "${DISPLAY:-}" ]; then
    xwininfo -root -tree >"$work/windows.txt" 2>&1 || true
  fi
  if [ -f "$work/ardour.log" ]; then
    echo "-- last lines of Ardour's log ($work/ardour.log):"
    tail -n 25 "$work/ardour.log"
  fi
  echo "-- logs, trace and screenshots are kept in $work"
  exit 1
}

ardour_running() {
  [ -n "$ardour_pid" ] && [ ! -f "$work/ardour.status" ] && kill -0 "$ardour_pid" 2>/dev/null
}

stop_processes() {
  if ardour_running; then kill -KILL "$ardour_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap stop_processes EXIT
trap 'exit 143' TERM INT

# until_true SECONDS COMMAND...: runs COMMAND every quarter second until it succeeds; fails after
# SECONDS.
until_true() {
  tries=$(($1 * 4))
  shift
  while ! "$@"; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || return 1
    sleep 0.25
  done
}

# window_field ID LABEL: prints one number from xwininfo's report on window ID.
window_field() {
  xwininfo -id "$1" | sed -n "s/^ *$2: *\\([-0-9]*\\).*/\\1/p"
}

# parameter_in_session INDEX SYMBOL: prints the plug-in's stored value of parameter INDEX, or of
# the LV2 port SYMBOL.
parameter_in_session() {
  if [ "$format" = lv2 ]; then
    grep -o "symbol=\"$2\" value=\"[^\"]*\"" "$work/session/session.ardour" | head -n 1 | cut -d'"' -f4
  else
    grep -o "param-$1=\"[^\"]*\"" "$work/session/session.ardour" | head -n 1 | cut -d'"' -f2
  fi
}

begin "private Ardour set-up and scan"
if [ "$format" = lv2 ]; then
  ardour_private_setup "$work"
  mkdir -p "$work/lv2" && cp -r "$module" "$work/lv2/"
  export LV2_PATH="$work/lv2:/usr/lib/lv2" WRENFOLD_PLUGIN_TYPE=LV2
  # Ardour's own scale, which it gives an LV2 UI as the scale factor.
  printf '<?xml version="1.0" encoding="UTF-8"?>\n<Ardour><UI><Option name="font-scale" value="%d"/></UI></Ardour>\n' \
    $((102400 * scale)) >"$XDG_CONFIG_HOME/ardour7/ui_config"
else
  ardour_private_setup "$work" "$tracer"
  mkdir -p "$work/module"
  cp "$module" "$work/module/wrenfold.so"
  export WRENFOLD_TRACE_MODULE="$work/module/wrenfold.so" WRENFOLD_TRACE_LOG="$work/trace.log"
fi
# An empty .a7 skips the first-run wizard; the saved engine state starts the Dummy backend
# without the Audio/MIDI Setup dialog.
: >"$XDG_CONFIG_HOME/ardour7/.a7"
cat >"$XDG_CONFIG_HOME/ardour7/config" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<Ardour>
  <Config>
    <Option name="hide-dummy-backend" value="0"/>
    <Option name="try-autostart-engine" value="1"/>
  </Config>
  <Extra>
    <AudioMIDISetup>
      <EngineStates>
        <State backend="None (Dummy)" driver="" device="Silence" input-device="" output-device="" sample-rate="48000" buffer-size="1024" n-periods="2" input-latency="0" output-latency="0" lm-input="" lm-output="" active="1" use-buffered-io="0" midi-option="" lru="1"/>
      </EngineStates>
    </AudioMIDISetup>
  </Extra>
</Ardour>
EOF
[ "$format" = lv2 ] || ardour_scan "$name"

begin "session with the plug-in window marked open"
WRENFOLD_ARDOUR_WORK="$work" WRENFOLD_ARDOUR_SCRIPTS="$scripts" WRENFOLD_PLUGIN_NAME="$name" \
  timeout 120 ardour7-lua "$scripts/gui-session.lua" >"$work/session.log" 2>&1 ||
  fail "ardour7-lua could not build the session (see $work/session.log): $(tail -n 3 "$work/session.log")"
grep '^SAVED' "$work/session.log"
feedback_before=$(parameter_in_session 10 FeedBackL)

begin "headless renderings to compare with"
"$snapshot" --scale "$scale" "$work/expected-open.png" >/dev/null || fail "wrenfold-snapshot failed"
"$snapshot" --scale "$scale" "$work/expected-dragged.png" --set FeedBackL=1 >/dev/null ||
  fail "wrenfold-snapshot failed"

begin "Xvfb on a free display at $((96 * scale)) dpi"
# -noreset keeps the desktop's resources when xprop, the only client yet, disconnects.
Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display_known() { [ -s "$work/display" ]; }
until_true 20 display_known || fail "Xvfb reported no display (see $work/xvfb.log)"
export DISPLAY=":$(head -n 1 "$work/display")"
echo "DISPLAY=$DISPLAY"
# What a HiDPI desktop's settings daemon writes; the user's own scale settings are kept out.
xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:	$((96 * scale))" ||
  fail "xprop could not set Xft.dpi"
unset WRENFOLD_EDITOR_SCALE

begin "Ardour starts and calls effEditOpen"
session_file=$work/session/session.ardour
(
  status=0
  sh -c 'echo $$ >"$1"; shift; exec "$@"' sh "$work/ardour.pid" ardour -n -a "$session_file" \
    >"$work/ardour.log" 2>&1 || status=$?
  echo "$status" >"$work/ardour.status"
) &
pid_known() { [ -s "$work/ardour.pid" ]; }
until_true 10 pid_known || fail "Ardour did not start"
ardour_pid=$(cat "$work/ardour.pid")
edit_open_traced() {
  ardour_running || fail "Ardour exited with status $(cat "$work/ardour.status" 2>/dev/null)"
  grep -q "^effEditOpen .* pid=$ardour_pid " "$work/trace.log" 2>/dev/null
}
[ "$format" = lv2 ] || until_true 90 edit_open_traced || fail "no call of effEditOpen returned (see $work/trace.log)"

begin "the editor window appears"
editor_found() {
  ardour_running || fail "Ardour exited with status $(cat "$work/ardour.status" 2>/dev/null)"
  for editor in $(xdotool search --onlyvisible --name '^Window$' 2>/dev/null); do
    xdotool getwindowgeometry "$editor" | grep -q "Geometry: ${width_expected}x$height_expected" && return 0
  done
  return 1
}
until_true 90 editor_found ||
  fail "no visible $width_expected x $height_expected window named \"Window\" appeared; effEditOpen answered" \
    "$(sed -n "s/^effEditOpen .* pid=$ardour_pid .*answer=\([-0-9]*\).*/\1/p" "$work/trace.log" | head -n 1)"
editor=$(printf '0x%x' "$editor")
echo "editor window $editor"

begin "the editor sits inside Ardour's plug-in window at $width_expected x $height_expected"
plugin_window=$(xdotool search --name "^wrenfold: $name" | head -n 1)
[ -n "$plugin_window" ] || fail "Ardour shows no plug-in window named 'wrenfold: $name...'"
xwininfo -tree -id "$plugin_window" | grep -q "$editor " ||
  fail "the editor window is not inside Ardour's plug-in window (see $work/windows.txt)"
width=$(window_field "$editor" Width) height=$(window_field "$editor" Height)
[ "$width" = "$width_expected" ] && [ "$height" = "$height_expected" ] || fail "the editor window is $width x $height"
plugin_width=$(window_field "$plugin_window" Width) plugin_height=$(window_field "$plugin_window" Height)
[ "$plugin_width" -ge "$width" ] && [ "$plugin_height" -ge "$height" ] ||
  fail "Ardour's plug-in window is $plugin_width x $plugin_height, smaller than the editor"
editor_x=$(window_field "$editor" "Absolute upper-left X")
editor_y=$(window_field "$editor" "Absolute upper-left Y")
parent=$(xwininfo -children -id "$editor" | sed -n 's/.*Parent window id: \(0x[0-9a-f]*\).*/\1/p')
echo "at $editor_x,$editor_y on the screen; parent window $parent"

begin "the editor looks like the headless rendering"
looks_like() {
  xwd -silent -id "$editor" >"$work/$1.xwd" &&
    "$screen_check" "$work/$1.xwd" "$work/expected-$1.png" "$work/$1.png" >"$work/$1-check.txt"
}
until_true 10 looks_like open || fail "$(cat "$work/open-check.txt") (see $work/open.png)"
cat "$work/open-check.txt"

begin "a drag on the left feedback slider"
# The left feedback slider (FeedBackL, parameter 10) starts 140 px in; at the session's value 0.5
# its handle's centre line is 149 px down (times the scale). Dragging above the top of the travel
# sets 1.0.
[ "$feedback_before" = "$feedback_start" ] ||
  fail "the session starts with FeedBackL at $feedback_before, not $feedback_start"
grab_x=$((editor_x + 150 * scale)) grab_y=$((editor_y + 149 * scale))
xdotool mousemove "$grab_x" "$grab_y" sleep 0.3 mousedown 1 sleep 0.2
y=$grab_y
while [ "$y" -gt $((editor_y + 30 * scale)) ]; do
  y=$((y - 6 * scale))
  xdotool mousemove "$grab_x" "$y" sleep 0.04
done
xdotool sleep 0.2 mouseup 1
until_true 10 looks_like dragged ||
  fail "the editor does not show FeedBackL at 100%: $(cat "$work/dragged-check.txt") (see $work/dragged.png)"
cat "$work/dragged-check.txt"

begin "Ctrl+S saves the new value"
main_window=$(xdotool search --name ' - Ardour$' | head -n 1)
[ -n "$main_window" ] || fail "Ardour's main window (name ending in ' - Ardour') is missing"
xdotool windowfocus --sync "$main_window" key ctrl+s
feedback_saved() { [ "$(parameter_in_session 10 FeedBackL)" = "$feedback_top" ]; }
until_true 30 feedback_saved ||
  fail "the saved session holds FeedBackL = $(parameter_in_session 10 FeedBackL), not $feedback_top"
echo "FeedBackL in the saved session: $feedback_before -> $(parameter_in_session 10 FeedBackL)"

begin "Ctrl+Q quits with status 0"
xdotool windowfocus --sync "$main_window" key ctrl+q
ardour_exited() { [ -s "$work/ardour.status" ]; }
until_true 60 ardour_exited || fail "Ardour was still running 60 s after Ctrl+Q"
status=$(cat "$work/ardour.status")
[ "$status" = 0 ] || fail "Ardour exited with status $status"

[ "$format" = vst ] || { echo "PASS [$(elapsed)]"; exit 0; }
begin "Ardour's calls into the module"
grep " pid=$ardour_pid " "$work/trace.log" >"$work/ardour-trace.log" || true
awk -v parent="$parent" -f "$scripts/check-trace.awk" "$work/ardour-trace.log" ||
  fail "the trace breaks the rules above (see $work/ardour-trace.log)"
echo "PASS [$(elapsed)]"
