#!/usr/bin/env bash
# The editor step of scripts/real-host-check.sh: Ardour 7's GUI, under a virtual display,
# opens the plug-in's own editor, and the check looks at it.
#   1. a session script puts the plug-in on a bus and saves the session;
#   2. the session is marked as saved with that plug-in's window open on its own editor (the
#      host reopens such windows when it loads a session);
#   3. the GUI loads the session on the dummy audio backend; the check waits for the plug-in
#      window, finds the editor's 942x171 child window in it, shoots the screen with xwd and
#      requires the editor's area to be a picture (neither one flat colour nor mostly black).
# Usage: scripts/real-host-editor.sh SCRATCH-FOLDER PLUGIN-NAME SCREENSHOT-FOLDER
# The scratch folder is real-host-check.sh's, where the host's scan cache already knows the
# plug-in; XDG_CACHE_HOME, XDG_CONFIG_HOME and LXVST_PATH point into it.
set -euo pipefail

work="$1"
name="$2"
shots="$3"
editor_size="942x171"
fail() {
    echo "real-host-check: FAILED: $*" >&2
    exit 1
}

session_dir="$work/editor-session"
export VELMORA_SESSION_DIR="$session_dir" VELMORA_PLUGIN_NAME="$name"
cat >"$work/editor.lua" <<'LUA'
local backend = AudioEngine:set_backend("None (Dummy)", "", "")
assert(backend and backend:set_device_name("Sine Wave") == 0, "no dummy backend")
assert(AudioEngine:start(false) == 0, "the audio engine did not start")
local session = create_session(os.getenv("VELMORA_SESSION_DIR"), "velmora-editor", 48000)
assert(session, "no session")
local routes = session:new_audio_route(2, 2, nil, 1, "editor",
    ARDOUR.PresentationInfo.Flag.AudioBus, ARDOUR.PresentationInfo.max_order)
local bus = routes:front()
local plugin = ARDOUR.LuaAPI.new_plugin(session, os.getenv("VELMORA_PLUGIN_NAME"),
    ARDOUR.PluginType.LXVST, "")
assert(not plugin:isnil(), "the host could not instantiate the plug-in")
assert(bus:add_processor_by_index(plugin, 0, nil, true) == 0, "the host could not insert it")
assert(session:save_state("", false, false, false, false, false) == 0, "saving failed")
print("ids " .. bus:to_stateful():id():to_s() .. " " .. plugin:to_stateful():id():to_s())
LUA

echo "-- the editor: a session with the plug-in's window left open"
if ! timeout 300 ardour7-lua "$work/editor.lua" >"$work/editor-session.log" 2>&1; then
    cat "$work/editor-session.log"
    fail "making the editor's session"
fi
read -r route processor < <(sed -n 's/^ids \([0-9]*\) \([0-9]*\)$/\1 \2/p' \
    "$work/editor-session.log")
[ -n "${processor:-}" ] || fail "the session script named no plug-in"
session_file="$session_dir/velmora-editor.ardour"
# The host names a plug-in's window P-<route>-<processor> and keeps, per window, whether it was
# open and whether it showed the plug-in's own editor.
window_state="<Window name=\"P-$route-$processor\" visible=\"1\" custom-ui=\"1\" x-off=\"0\""
window_state+=" y-off=\"0\" x-size=\"-1\" y-size=\"-1\"/>"
grep -q "<Extra>" "$session_file" && fail "the session already holds GUI state"
sed -i "s|</Session>|  <Extra><UI>$window_state</UI></Extra>\n</Session>|" "$session_file"

# The GUI's first-run questions are answered already, and its engine is the dummy backend
# with the device the session was made with, so it starts without asking.
mkdir -p "$XDG_CONFIG_HOME/ardour7"
touch "$XDG_CONFIG_HOME/ardour7/.a7"
cat >"$XDG_CONFIG_HOME/ardour7/config" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<Ardour>
  <Config>
    <Option name="hide-dummy-backend" value="0"/>
    <Option name="try-autostart-engine" value="1"/>
  </Config>
  <Extra>
    <AudioMIDISetup>
      <EngineStates>
        <State backend="None (Dummy)" driver="Normal Speed" device="Sine Wave" input-device=""
               output-device="" sample-rate="48000" buffer-size="1024" n-periods="0"
               input-latency="0" output-latency="0" lm-input="" lm-output="" active="1"
               use-buffered-io="0" midi-option="" lru="1">
          <MIDIDevices/>
        </State>
      </EngineStates>
    </AudioMIDISetup>
  </Extra>
</Ardour>
XML

# Runs inside the virtual display: starts the GUI, waits for the plug-in window and the
# editor in it, shoots, and ends the GUI it started.
cat >"$work/editor-gui.sh" <<'GUI'
#!/usr/bin/env bash
set -euo pipefail
work="$1" name="$2" session_file="$3" editor_size="$4"
ardour -a -n "$session_file" >"$work/gui.log" 2>&1 &
gui=$!
trap 'kill "$gui" 2>/dev/null; sleep 2; kill -9 "$gui" 2>/dev/null || true' EXIT
plugin_window=""
editor_window=""
for _ in $(seq 1 150); do
    sleep 1
    kill -0 "$gui" 2>/dev/null || { echo "the GUI ended early" >&2; exit 1; }
    plugin_window="$(xwininfo -root -tree | grep -F "$name" | grep -F "[VST]" |
        awk '{print $1}' | head -n 1 || true)"
    [ -n "$plugin_window" ] || continue
    editor_window="$(xwininfo -tree -id "$plugin_window" | grep -E " ${editor_size}\+" |
        awk '{print $1}' | tail -n 1 || true)"
    [ -n "$editor_window" ] && break
done
if [ -z "$editor_window" ]; then
    echo "plug-in window: ${plugin_window:-none}" >&2
    [ -n "$plugin_window" ] && xwininfo -tree -id "$plugin_window" >&2
    exit 1
fi
sleep 3 # a few idle calls, so the editor has drawn and its meters have run
xwininfo -tree -id "$plugin_window"
xwininfo -id "$editor_window" | sed -n 's/^ *Absolute upper-left \([XY]\): *\(-*[0-9]*\)$/\1 \2/p' \
    >"$work/editor-position"
xwd -root -silent >"$work/screen.xwd"
GUI
chmod +x "$work/editor-gui.sh"

echo "-- the host's GUI under a virtual display"
if ! timeout 400 xvfb-run -a -s "-screen 0 1600x1000x24" \
    "$work/editor-gui.sh" "$work" "$name" "$session_file" "$editor_size" \
    >"$work/editor-gui.log" 2>&1; then
    cat "$work/editor-gui.log"
    tail -n 30 "$work/gui.log" || true
    fail "the host showed no $editor_size editor window in the plug-in's window"
fi
grep -E " ${editor_size}\+" "$work/editor-gui.log" | head -n 3

x="$(sed -n 's/^X //p' "$work/editor-position")"
y="$(sed -n 's/^Y //p' "$work/editor-position")"
mkdir -p "$shots"
cp "$work/screen.xwd" "$shots/real-host-editor.xwd"
convert "$work/screen.xwd" "$shots/real-host-editor.png"
convert "$work/screen.xwd" -crop "${editor_size}+${x}+${y}" +repage "$work/editor.png"
# The editor's area: its spread of colours and its mean brightness, each 0..1.
read -r spread brightness < <(convert "$work/editor.png" -colorspace Gray \
    -format '%[fx:standard_deviation] %[fx:mean]\n' info:)
echo "editor at $x,$y on screen: brightness spread $spread, mean $brightness;" \
    "screenshot $shots/real-host-editor.png"
awk -v s="$spread" -v m="$brightness" 'BEGIN { exit !(s > 0.03 && m > 0.05) }' ||
    fail "the editor's window is blank or black (spread $spread, mean $brightness)"
