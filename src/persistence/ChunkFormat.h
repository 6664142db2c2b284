// Every fixed piece of the project chunk text: header, keywords, word values, padding, end
// marker, placeholders, version codes and the two messages about a text's version.
#pragma once

#include <cstddef>
#include <string_view>

namespace persistence::format {

// The text opens with an empty line; the version line is its second line.
constexpr std::string_view kHeader =
    "\nKestrelhollow Data Version 2.0\n"
    "================================\n"
    "# If you edit this data manually take away the same numbers of # at the end of the\n"
    "# configuration as you add (to make sure the file size does not differ).\n"
    "#\n";
static_assert(kHeader.size() == 223);

// Room for a person who edits the text by hand to keep its size: lines of '#'.
constexpr int kPaddingLines = 14;
constexpr size_t kPaddingWidth = 91;
constexpr std::string_view kEndMarker = "\nKestrelhollow Data ends here\n";

// Finding the text inside a program file.
constexpr std::string_view kVersionMarker = "Kestrelhollow Data Version";
constexpr std::string_view kEndMarkerLine = "Kestrelhollow Data ends here";

// Version codes, from the version line.
constexpr int kUnknownVersion = 0;
constexpr int kVersion10 = 10;
constexpr int kVersion11 = 11;
constexpr int kVersion20 = 20;
constexpr std::string_view kVersionLine10 = "Kestrelhollow Data Version 1.0";
constexpr std::string_view kVersionLine11 = "Kestrelhollow Data Version 1.1";
constexpr std::string_view kVersionLine20 = "Kestrelhollow Data Version 2.0";

constexpr char kFieldSeparator = ';';
constexpr char kLineEnd = '\n';

// Record keywords.
constexpr std::string_view kBaseFolderRecord = "smp1";  // versions 1.0 and 1.1 only
constexpr std::string_view kHolderRecord = "smp2";
constexpr std::string_view kKitPlayerRecord = "syn1";
constexpr std::string_view kPatternRecord = "seq1";
constexpr std::string_view kSequencerRecord = "seq2";
constexpr std::string_view kTransportRecord = "vst1";
// Written only for Tuned sound: a text without it (every text older than the setting) is Classic.
constexpr std::string_view kSoundRecord = "snd1";
// Written only for a pattern and holder with a sounding step below full velocity: the velocity
// of each of the 128 steps. A text without it plays every step at full velocity.
constexpr std::string_view kVelocityRecord = "vel1";
// Written only for a holder in a choke group: its note and group. Without it: no group.
constexpr std::string_view kChokeRecord = "chk1";

// Word values; the index is the value in the model.
constexpr std::string_view kMuteWords[] = {"not_muted", "muted", "muted_by_solo"};
constexpr std::string_view kSyncModeWords[] = {"Stop", "Run", "Hsync", "Midi"};
constexpr std::string_view kSoundModeWords[] = {"Classic", "Tuned"};
constexpr std::string_view kSwingWord = "swing";
constexpr std::string_view kNoSwingWord = "no_swing";
constexpr std::string_view kDownmixWord = "downmix";
constexpr std::string_view kNoDownmixWord = "no_downmix";
constexpr std::string_view kSoundingStep = "1";

// Step fields of a pattern record: all 128 from version 2.0 on, 16 before.
constexpr int kOldStepCount = 16;
// Floats keep two significant digits.
constexpr int kFloatDigits = 2;

// The plug-in's samples folder, in any text, on every platform.
constexpr std::string_view kSampleDirPlaceholder = "\\$VST_SAMPLE_DIR$\\";
// The base folder of an old text's "smp1" record.
constexpr std::string_view kBaseDirPlaceholder = "\\$SAMPLE_BASE_DIR$\\";
// An "smp1" field that names a folder carries this many characters before it.
constexpr size_t kBaseFolderPrefixLength = 13;
// Below the placeholder a saved path separates its parts with backslashes.
constexpr char kSavedPathSeparator = '\\';

constexpr std::string_view kRefusedCaption = "Error";
constexpr std::string_view kRefusedText =
    "The data for Kestrelhollow in the project file is of an newer version of Kestrelhollow or is corrupt.";
constexpr std::string_view kConversionCaption = "Warning";
constexpr std::string_view kConversionText =
    "The saved data for Kestrelhollow in the project file is of an older version of Kestrelhollow. It will be "
    "converted to the new version. If you save this project is saved you are not going to be able to open this "
    "project with an older version of Kestrelhollow anymore.";

}  // namespace persistence::format
