-- Run by ardour7-lua: builds a session with one stereo track holding the module under test, saves
-- it, and marks the plug-in's window open in the saved file, so that Ardour's GUI opens the
-- module's editor by itself when it loads the session. Settings come from the environment that
-- ardour-gui-test.sh prepares.
local work = assert (os.getenv ("WRENFOLD_ARDOUR_WORK"))
local name = assert (os.getenv ("WRENFOLD_PLUGIN_NAME"))
local kind = os.getenv ("WRENFOLD_PLUGIN_TYPE") == "LV2" and ARDOUR.PluginType.LV2 or ARDOUR.PluginType.LXVST
dofile (assert (os.getenv ("WRENFOLD_ARDOUR_SCRIPTS")) .. "/session-common.lua")

create_dummy_session (work, 48000)
local track = new_stereo_track ("wrenfold")
local effect = add_plugin (track, name, 0, kind)
local route_id = track:to_stateful ():id ():to_s ()
local processor_id = effect:to_stateful ():id ():to_s ()
Session:save_state ("", false, false, false, false, false)
close_session ()

-- The GUI keeps the open plug-in windows in the session's UI state, which Lua cannot reach.
local path = work .. "/session/session.ardour"
local window = string.format ('<Extra><UI><Window name="P-%s-%s" visible="1" x-off="40" y-off="40" custom-ui="1"/></UI></Extra>\n</Session>',
	route_id, processor_id)
rewrite_saved_session (path, "</Session>%s*$", window)
say ("SAVED", path, "route", route_id, "plug-in", processor_id)
