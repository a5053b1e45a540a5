-- Run by ardour7-lua: builds a session with one stereo track holding the module under test, saves
-- it, and marks the plug-in's window open in the saved file, so that Ardour's GUI opens the
-- module's editor by itself when it loads the session. Settings come from the environment that
-- ardour-gui-test.sh prepares.
local work = assert (os.getenv ("WRENFOLD_ARDOUR_WORK"))
local name = assert (os.getenv ("WRENFOLD_PLUGIN_NAME"))

local function say (...)
	print (...)
	io.stdout:flush ()
end

assert (AudioEngine:set_backend ("None (Dummy)", "", ""), "no Dummy backend")
assert (AudioEngine:start (false) == 0, "the Dummy backend does not start")
assert (create_session (work .. "/session", "session", 48000), "cannot create a session")

local tracks = Session:new_audio_track (2, 2, nil, 1, "wrenfold", ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true)
assert (tracks:size () == 1, "cannot create a track")
local track = tracks:front ()
local effect = ARDOUR.LuaAPI.new_plugin (Session, name, ARDOUR.PluginType.LXVST, "")
assert (not effect:isnil (), "Ardour cannot instantiate '" .. name .. "'")
assert (track:add_processor_by_index (effect, 0, nil, true) == 0, "cannot add the effect")
local route_id = track:to_stateful ():id ():to_s ()
local processor_id = effect:to_stateful ():id ():to_s ()
Session:save_state ("", false, false, false, false, false)
close_session ()

-- The GUI keeps the open plug-in windows in the session's UI state, which Lua cannot reach.
local path = work .. "/session/session.ardour"
local file = assert (io.open (path))
local xml = file:read ("a")
file:close ()
assert (not xml:find ("<Extra>", 1, true), "the saved session already holds GUI state")
local window = string.format ('<Extra><UI><Window name="P-%s-%s" visible="1" x-off="40" y-off="40" custom-ui="1"/></UI></Extra>\n</Session>',
	route_id, processor_id)
local marked, sessions = xml:gsub ("</Session>%s*$", window)
assert (sessions == 1, "the saved session does not end in </Session>")
file = assert (io.open (path, "w"))
file:write (marked)
file:close ()
say ("SAVED", path, "route", route_id, "plug-in", processor_id)
