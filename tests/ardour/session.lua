-- Run by ardour7-lua from tests/ardour/run.sh:
--   session.lua create FOLDER RENDER_FOLDER   a new session with Kestrelhollow on a MIDI track,
--                                             rendered ("plain"); then every holder but D muted
--                                             through the plug-in's parameters and an automation
--                                             lane that ramps "D Volume" from 0 to 1 over the
--                                             render, rendered again ("ramp"); then saved
--   session.lua reload FOLDER RENDER_FOLDER   the saved session loaded again and rendered
-- A render is the master bus from the song start for `seconds`, through the float WAV export
-- preset that run.sh installs; the plug-in plays the state run.sh gives it as a user preset, in
-- Hsync with the transport.
local mode, folder, render_folder = arg[1], arg[2], arg[3]
local name = "host-test"
local rate, block, seconds = 48000, 512, 8
local preset = "6b68f1a0-7e57-4a11-9d6f-6b6870727374"

-- Ends the script; ardour7-lua then exits with a non-zero status.
local function fail(message)
	error("FAILED: " .. message, 0)
end

-- The dummy backend gives a transport and MIDI without a sound card; run.sh un-hides it.
local backend = AudioEngine:set_backend("None (Dummy)", "", "")
if not backend then fail("no dummy backend") end
backend:set_buffer_size(block)

local function add_kestrelhollow_track()
	local instrument = ARDOUR.LuaAPI.new_plugin_info("Kestrelhollow", ARDOUR.PluginType.LXVST)
	if instrument:isnil() then fail("Ardour did not find Kestrelhollow among its VST plug-ins") end
	-- As many track outputs as the plug-in has (24, a stereo pair per holder); Ardour connects
	-- them alternately to the master's left and right inputs, so the master hears the sum of all
	-- pairs, as kestrelhollow-render's default stereo sum does.
	local tracks = Session:new_midi_track(
		ARDOUR.ChanCount(ARDOUR.DataType("midi"), 1), ARDOUR.ChanCount(ARDOUR.DataType("audio"), 24),
		false, instrument, nil, nil, 1, "Kestrelhollow", ARDOUR.PresentationInfo.max_order,
		ARDOUR.TrackMode.Normal, true)
	for track in tracks:iter() do
		-- Without a bypass, Ardour spreads 24 channels over 24 outputs with its surround panner.
		track:panner_shell():set_bypassed(true)
		-- The state run.sh wrote as a user preset; the reload must bring it back.
		local plugin = track:nth_plugin(0):to_insert():plugin(0)
		if not plugin:load_preset(plugin:preset_by_label("host test")) then fail("the host test preset did not load") end
		return
	end
	fail("Ardour made no MIDI track")
end

-- The index of the plug-in's parameter of that name.
local function parameter(plugin, label)
	for index = 0, plugin:parameter_count() - 1 do
		if plugin:parameter_label(index) == label then return index end
	end
	fail("the plug-in has no parameter named " .. label)
end

-- Mutes every holder but D through the plug-in's parameters and ramps D's volume from 0 at the
-- song start to 1 at the render's end on an automation lane that plays.
local function automate_d_volume()
	local insert = Session:route_by_name("Kestrelhollow"):nth_plugin(0)
	local plugin = insert:to_insert():plugin(0)
	for _, note in ipairs({"C", "C#", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"}) do
		if not ARDOUR.LuaAPI.set_processor_param(insert, parameter(plugin, note .. " Mute"), 1) then
			fail("could not mute holder " .. note)
		end
	end
	local volume = parameter(plugin, "D Volume")
	local lane = insert:to_automatable():automation_control(
		Evoral.Parameter(ARDOUR.AutomationType.PluginAutomation, 0, volume), false)
	if lane:isnil() then fail("no automation lane for D Volume") end
	local events = lane:alist()
	events:clear_list()
	events:add(Temporal.timepos_t(0), 0, false, false)
	events:add(Temporal.timepos_t(seconds * rate), 1, false, false)
	lane:set_automation_state(ARDOUR.AutoState.Play)
end

-- Into a folder of its own below the render folder: the export preset names the file.
local function render(name)
	local export = Session:simple_export()
	export:set_folder(render_folder .. "/" .. name)
	export:set_name(name)
	export:set_range(0, seconds * rate)
	if not export:set_preset(preset) then fail("the export preset is missing") end
	if not export:run_export() then fail("the export failed") end
end

if mode == "create" then
	if not create_session(folder, name, rate) then fail("could not create the session") end
	add_kestrelhollow_track()
	render("plain")
	automate_d_volume()
	render("ramp")
	if Session:save_state("", false, false, false, false, false) ~= 0 then fail("the session was not saved") end
elseif mode == "reload" then
	if not load_session(folder, name) then fail("could not load the session") end
	local route = Session:route_by_name("Kestrelhollow")
	if route:isnil() or route:nth_plugin(0):isnil() then fail("the reloaded session lost the plug-in") end
	render("ramp")
else
	fail("usage: session.lua create|reload FOLDER RENDER_FOLDER")
end
close_session()
