#!/usr/bin/env bash
# Loads the plug-in in a real host: Ardour 7 from Debian's packages, headless.
#   1. Ardour's VST2 scanner indexes the binary (entry, record, names);
#   2. a session script on the dummy audio backend (a sine wave at the inputs) puts the
#      plug-in on a bus, lets the engine run it for two seconds and reads the bus meter,
#      saves the session with the plug-in in it (its state chunk), removes it and closes;
#   3. the editor: a session with the plug-in whose editor window was left open is loaded in
#      Ardour's GUI under a virtual display (Xvfb). The host opens the plug-in's own editor in
#      its plug-in window; the check finds the editor's 942x171 child window there, takes a
#      screenshot (xwd) and checks it is a picture, not a blank or black window.
#      The screenshot is kept as $VELMORA_SCREENSHOT_DIR/real-host-editor.{xwd,png}
#      (default: the folder the plug-in is in).
# Usage: scripts/real-host-check.sh [PATH/TO/Velmora.so] [NAME-THE-PLUGIN-REPORTS]
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
plugin="$(realpath "${1:-$root/build/Velmora.so}")"
name="${2:-Velmora}"
scanner=/usr/lib/ardour7/ardour-vst-scanner
screenshots="${VELMORA_SCREENSHOT_DIR:-$(dirname "$plugin")}"

if [ ! -f "$plugin" ]; then
    echo "real-host-check: no plug-in at $plugin (build it first)" >&2
    exit 1
fi

# The host, and for the editor step a virtual display with tools to list and shoot windows.
needed=()
if [ ! -x "$scanner" ] || ! command -v ardour7-lua >/dev/null 2>&1; then
    needed+=(ardour)
fi
for tool in xvfb-run:xvfb xauth:xauth xwd:x11-apps xwininfo:x11-utils convert:imagemagick; do
    if ! command -v "${tool%%:*}" >/dev/null 2>&1; then
        needed+=("${tool#*:}")
    fi
done
if [ ${#needed[@]} -gt 0 ]; then
    as_root=()
    if [ "$(id -u)" -ne 0 ]; then
        as_root=(sudo)
    fi
    echo "real-host-check: installing ${needed[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${as_root[@]}" apt-get update -qq
    "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${needed[@]}" >/dev/null
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/vst"
cp "$plugin" "$work/vst/$(basename "$plugin")"
# The host trusts its scan cache only when the binary is not newer than it; the cache keeps
# whole seconds, so give the copy a whole-second time in the past.
touch -d "@$(($(date +%s) - 10))" "$work/vst/$(basename "$plugin")"
# Everything the host writes (plug-in cache, settings, session) stays in the scratch folder.
export XDG_CACHE_HOME="$work/cache" XDG_CONFIG_HOME="$work/config"
export LXVST_PATH="$work/vst" VELMORA_SESSION_DIR="$work/session" VELMORA_PLUGIN_NAME="$name"

echo "-- scanning with $scanner"
scan_log="$work/scan.log"
if ! LD_LIBRARY_PATH=/usr/lib/ardour7 "$scanner" -f -v "$work/vst/$(basename "$plugin")" \
    >"$scan_log" 2>&1 || ! grep -q "Found Plugin" "$scan_log"; then
    cat "$scan_log"
    echo "real-host-check: FAILED: the host's scanner did not accept the plug-in" >&2
    exit 1
fi
grep -E "Found Plugin|<VST2Info" "$scan_log"

cat >"$work/check.lua" <<'LUA'
local backend = AudioEngine:set_backend("None (Dummy)", "", "")
assert(backend and backend:set_device_name("Sine Wave") == 0, "no dummy backend")
assert(AudioEngine:start(false) == 0, "the audio engine did not start")
local session = create_session(os.getenv("VELMORA_SESSION_DIR"), "velmora-check", 48000)
assert(session, "no session")

local routes = session:new_audio_route(2, 2, nil, 1, "check",
    ARDOUR.PresentationInfo.Flag.AudioBus, ARDOUR.PresentationInfo.max_order)
local bus = routes:front()
bus:input():audio(0):connect("system:capture_1")
bus:input():audio(1):connect("system:capture_2")
ARDOUR.LuaAPI.usleep(500000)
local dry = bus:peak_meter():meter_level(0, ARDOUR.MeterType.MeterPeak)

local name = os.getenv("VELMORA_PLUGIN_NAME")
local plugin = ARDOUR.LuaAPI.new_plugin(session, name, ARDOUR.PluginType.LXVST, "")
assert(not plugin:isnil(), "the host could not instantiate " .. name)
assert(bus:add_processor_by_index(plugin, 0, nil, true) == 0, "the host could not insert it")
ARDOUR.LuaAPI.usleep(2000000)
local wet = bus:peak_meter():meter_level(0, ARDOUR.MeterType.MeterPeak)
print(string.format("bus peak without the plug-in %.1f dBFS, through it %.1f dBFS", dry, wet))
assert(wet > -120, "no sound came through the plug-in")

assert(session:save_state("", false, false, false, false, false) == 0, "saving failed")
bus:remove_processor(plugin, nil, true)
plugin = nil
ARDOUR.LuaAPI.usleep(200000)
print("processed, saved and removed")
LUA

echo "-- running a session"
session_log="$work/session.log"
if ! timeout 300 ardour7-lua "$work/check.lua" >"$session_log" 2>&1; then
    cat "$session_log"
    echo "real-host-check: FAILED in the session" >&2
    exit 1
fi
grep -E "^bus peak|^processed" "$session_log"
if ! grep -q "$name" "$work/session/velmora-check.ardour"; then
    echo "real-host-check: FAILED: the saved session does not hold the plug-in" >&2
    exit 1
fi
"$root/scripts/real-host-editor.sh" "$work" "$name" "$screenshots"
echo "real-host-check: PASSED: Ardour 7 scanned, instantiated, ran, saved and removed $name," \
    "and showed its editor"
