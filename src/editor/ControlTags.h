// The editor's control tags. Every control's tag is its index in the control table. The host hears
// the controls of host parameters by the parameter's index (instrument/Parameters.h), never by
// tag. Each section of the panel owns the tags listed under it; per-holder groups hold one tag per
// holder (base + holder index).
#pragma once

#include <cstdint>

#include "engine/Limits.h"

namespace editor::tags {

constexpr int32_t kControlCount = 283;

// Step row (StepRow): sixteen steps of one group, and the group buttons.
constexpr int32_t kStepsShown = 16;  // step buttons, step menus and position LEDs
constexpr int32_t kStepGroupCount = 8;
constexpr int32_t kStepButton = 0;
constexpr int32_t kStepMenu = 16;
constexpr int32_t kPositionLed = 32;
constexpr int32_t kStepGroupButton = 240;

// Holder strips (HolderStrips): per-holder groups from kHolderSelect to the end of kSoloButton's.
constexpr int32_t kHolderSelect = 48;
constexpr int32_t kHolderMenu = 60;
constexpr int32_t kNameField = 72;
constexpr int32_t kPreviousFile = 84;
constexpr int32_t kNextFile = 96;
constexpr int32_t kPreview = 108;
constexpr int32_t kPanKnob = 120;
constexpr int32_t kPanMenu = 132;
constexpr int32_t kVolumeKnob = 144;
constexpr int32_t kLengthKnob = 156;
constexpr int32_t kSwingButton = 168;
constexpr int32_t kPitchKnob = 180;
constexpr int32_t kPitchMenu = 192;
constexpr int32_t kBrowseButton = 204;
constexpr int32_t kMuteButton = 216;
constexpr int32_t kSoloButton = 228;

// Pattern bank (PatternBank): one button and menu per pattern of the shown octave, the two octave
// buttons and the shown pattern's resolution.
constexpr int32_t kPatternButtons = engine::kPatternCount / 2;
constexpr int32_t kPatternButton = 248;
constexpr int32_t kPatternMenu = 260;
constexpr int32_t kOctave2Bank = 276;
constexpr int32_t kOctave3Bank = 277;
constexpr int32_t kResolutionSelector = 281;

// Transport (Transport): the sync mode buttons and the hidden sequencer mode selector.
constexpr int32_t kRunButton = 272;
constexpr int32_t kHsyncButton = 273;
constexpr int32_t kStopButton = 274;
constexpr int32_t kMidiButton = 275;
constexpr int32_t kSequencerModeSelector = 282;

// Master (MasterSection): swing amount, master level and the level's menu.
constexpr int32_t kSwingAmountKnob = 278;
constexpr int32_t kMasterLevelKnob = 279;
constexpr int32_t kMasterMenu = 280;

}  // namespace editor::tags
