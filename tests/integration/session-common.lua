-- What the session scripts share; loaded with dofile by session.lua and gui-session.lua, which
-- ardour7-lua runs.

-- Prints a line at once, so that a log shows how far a script got.
function say (...)
	print (...)
	io.stdout:flush ()
end

-- Starts the Dummy backend and creates the session "session" in WORK/session at RATE.
function create_dummy_session (work, rate)
	assert (AudioEngine:set_backend ("None (Dummy)", "", ""), "no Dummy backend")
	assert (AudioEngine:start (false) == 0, "the Dummy backend does not start")
	assert (create_session (work .. "/session", "session", rate), "cannot create a session")
end

-- Creates the stereo track NAME and answers it.
function new_stereo_track (name)
	local tracks = Session:new_audio_track (2, 2, nil, 1, name, ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true)
	assert (tracks:size () == 1, "cannot create a track")
	return tracks:front ()
end

-- Adds the plug-in NAME to TRACK at position INDEX and answers it.
function add_plugin (track, name, index, kind)
	local effect = ARDOUR.LuaAPI.new_plugin (Session, name, kind or ARDOUR.PluginType.LXVST, "")
	assert (not effect:isnil (), "Ardour cannot instantiate '" .. name .. "'")
	assert (track:add_processor_by_index (effect, index, nil, true) == 0, "cannot add the effect")
	return effect
end

-- Replaces PATTERN by REPLACEMENT exactly once in the saved session file at PATH; what Lua cannot
-- reach of the session is told to it that way.
function rewrite_saved_session (path, pattern, replacement)
	local file = assert (io.open (path))
	local xml = file:read ("a")
	file:close ()
	local rewritten, count = xml:gsub (pattern, replacement)
	assert (count == 1, "the saved session holds " .. count .. " places for '" .. pattern .. "', not 1")
	file = assert (io.open (path, "w"))
	file:write (rewritten)
	file:close ()
end
