-- Run by ardour7-lua: builds a session with one stereo track (impulse generator, then the module
-- under test), checks that Ardour lists and loads the module, and saves the session with its first
-- second as the session range, ready for ardour7-export. Settings come from the environment that
-- ardour-host-test.sh prepares.
local work = assert (os.getenv ("WRENFOLD_ARDOUR_WORK"))
local module = assert (os.getenv ("WRENFOLD_ARDOUR_MODULE"))
local name = assert (os.getenv ("WRENFOLD_PLUGIN_NAME"))
local parameters = tonumber (assert (os.getenv ("WRENFOLD_PLUGIN_PARAMETERS")))
local kind = os.getenv ("WRENFOLD_PLUGIN_TYPE") == "LV2" and ARDOUR.PluginType.LV2 or ARDOUR.PluginType.LXVST
local kRate = 44100
dofile (assert (os.getenv ("WRENFOLD_ARDOUR_SCRIPTS")) .. "/session-common.lua")

create_dummy_session (work, kRate)

local listed = false
for info in ARDOUR.LuaAPI.list_plugins ():iter () do
	if info.type == kind and (info.path == module or info.unique_id == module) then
		say ("LISTED", info.name, info.unique_id)
		listed = info.name == name
	end
end
assert (listed, "Ardour does not list " .. module .. " as '" .. name .. "'")

local track = new_stereo_track ("impulse")

local generator = ARDOUR.LuaAPI.new_luaproc (Session, "Wrenfold Test Impulse")
assert (not generator:isnil (), "the impulse generator script is missing")
assert (track:add_processor_by_index (generator, 0, nil, true) == 0, "cannot add the generator")

local effect = add_plugin (track, name, 1, kind)
local plugin = effect:to_insert ():plugin (0)
say ("LOADED", plugin:name (), "parameters", plugin:parameter_count ())
assert (plugin:parameter_count () == parameters, "expected " .. parameters .. " parameters")

Session:locations ():add_range (Temporal.timepos_t (0), Temporal.timepos_t (kRate))
Session:save_state ("", false, false, false, false, false)
close_session ()

-- Lua cannot mark a range as the session range, which is what ardour7-export renders; the saved
-- session can be told so.
local path = work .. "/session/session.ardour"
rewrite_saved_session (path, 'flags="IsRangeMarker"', 'flags="IsSessionRange"')
say ("SAVED", path)
