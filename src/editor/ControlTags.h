// The editor's control table: every control's tag is its index in the table, so the editor
// finds a control by its tag. Per-holder groups hold twelve tags, one per holder (base + holder index).
#pragma once

#include <cstdint>

namespace editor::tags {

constexpr int32_t kControlCount = 283;
constexpr int32_t kStepsShown = 16;    // step buttons, step menus and position LEDs
constexpr int32_t kStepGroupCount = 8;  // the step row shows sixteen steps of one group
constexpr int32_t kPatternButtons = 12;

constexpr int32_t kStepButton = 0;
constexpr int32_t kStepMenu = 16;
constexpr int32_t kPositionLed = 32;
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
constexpr int32_t kStepGroupButton = 240;
constexpr int32_t kPatternButton = 248;
constexpr int32_t kPatternMenu = 260;
constexpr int32_t kRunButton = 272;
constexpr int32_t kHsyncButton = 273;
constexpr int32_t kStopButton = 274;
constexpr int32_t kMidiButton = 275;
constexpr int32_t kOctave2Bank = 276;
constexpr int32_t kOctave3Bank = 277;
constexpr int32_t kSwingAmountKnob = 278;
constexpr int32_t kMasterLevelKnob = 279;
constexpr int32_t kMasterMenu = 280;
constexpr int32_t kResolutionSelector = 281;
constexpr int32_t kSequencerModeSelector = 282;

// The per-holder group that a tag belongs to, given its base tag.
constexpr bool inHolderGroup(int32_t tag, int32_t base) { return tag >= base && tag < base + 12; }

}  // namespace editor::tags
