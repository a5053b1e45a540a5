-- Run by ardour7-lua: builds a session with one stereo track (impulse generator, then the module
-- under test), checks that Ardour lists and loads the module, and saves the session with its first
-- second as the session range, ready for ardour7-export. Settings come from the environment that
-- ardour-host-test.sh prepares.
local work = assert (os.getenv ("WRENFOLD_ARDOUR_WORK"))
local module = assert (os.getenv ("WRENFOLD_ARDOUR_MODULE"))
local name = assert (os.getenv ("WRENFOLD_PLUGIN_NAME"))
local parameters = tonumber (assert (os.getenv ("WRENFOLD_PLUGIN_PARAMETERS")))
local kRate = 44100

local function say (...)
	print (...)
	io.stdout:flush ()
end

assert (AudioEngine:set_backend ("None (Dummy)", "", ""), "no Dummy backend")
assert (AudioEngine:start (false) == 0, "the Dummy backend does not start")
assert (create_session (work .. "/session", "session", kRate), "cannot create a session")

local listed = false
for info in ARDOUR.LuaAPI.list_plugins ():iter () do
	if info.type == ARDOUR.PluginType.LXVST and info.path == module then
		say ("LISTED", info.name, info.unique_id)
		listed = info.name == name
	end
end
assert (listed, "Ardour does not list " .. module .. " as '" .. name .. "'")

local tracks = Session:new_audio_track (2, 2, nil, 1, "impulse", ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true)
assert (tracks:size () == 1, "cannot create a track")
local track = tracks:front ()

local generator = ARDOUR.LuaAPI.new_luaproc (Session, "Wrenfold Test Impulse")
assert (not generator:isnil (), "the impulse generator script is missing")
assert (track:add_processor_by_index (generator, 0, nil, true) == 0, "cannot add the generator")

local effect = ARDOUR.LuaAPI.new_plugin (Session, name, ARDOUR.PluginType.LXVST, "")
assert (not effect:isnil (), "Ardour cannot instantiate '" .. name .. "'")
assert (track:add_processor_by_index (effect, 1, nil, true) == 0, "cannot add the effect")
local plugin = effect:to_insert ():plugin (0)
say ("LOADED", plugin:name (), "parameters", plugin:parameter_count ())
assert (plugin:parameter_count () == parameters, "expected " .. parameters .. " parameters")

Session:locations ():add_range (Temporal.timepos_t (0), Temporal.timepos_t (kRate))
Session:save_state ("", false, false, false, false, false)
close_session ()

-- Lua cannot mark a range as the session range, which is what ardour7-export renders; the saved
-- session can be told so.
local path = work .. "/session/session.ardour"
local file = assert (io.open (path))
local xml = file:read ("a")
file:close ()
local patched, ranges = xml:gsub ('flags="IsRangeMarker"', 'flags="IsSessionRange"')
assert (ranges == 1, "the saved session holds " .. ranges .. " range markers, not 1")
file = assert (io.open (path, "w"))
file:write (patched)
file:close ()
say ("SAVED", path)
