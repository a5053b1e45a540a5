ardour {
	["type"]    = "dsp",
	name        = "Wrenfold Test Impulse",
	category    = "Utility",
	license     = "MIT",
	author      = "wrenfold",
	description = [[Replaces its input with silence and one full-scale impulse at frame 11025 of the rolling transport.]]
}

-- Well past the first cycle, so a pre-roll that runs the session at position 0 never reaches it.
local kImpulseFrame = 11025

function dsp_ioconfig ()
	return { { audio_in = 2, audio_out = 2 } }
end

function dsp_run (ins, outs, n_samples)
	local position = Session:transport_sample ()
	local rolling = Session:transport_rolling ()
	for channel = 1, 2 do
		ARDOUR.DSP.memset (outs[channel], 0, n_samples)
		if rolling and position <= kImpulseFrame and position + n_samples > kImpulseFrame then
			outs[channel]:array ()[kImpulseFrame - position + 1] = 1.0
		end
	end
end
