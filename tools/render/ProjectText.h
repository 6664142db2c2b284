// The few edits the host makes to a Kestrelhollow project text before sending it back as the
// state chunk: the sync mode (record vst1), the sound mode (record snd1) and the current
// pattern (record seq2). Everything else in the text is passed through untouched. And the
// text's patterns as a MIDI file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "Options.h"

namespace render {

// True when the text has the project text's version line ("Kestrelhollow Data Version ...")
// as its second line, where the plug-in looks for it.
bool LooksLikeProjectText(std::string_view text);

// Why a project text, as a chunk or a file holds it, is not whole, or empty when it is: a NUL
// byte with text after it, or no end line ("Kestrelhollow Data ends here"): the plug-in would
// load the part before the damage and lose the rest without a word.
std::string ProjectTextDamage(std::string_view chunk);

// The text up to its first NUL byte (a chunk ends with one).
std::string TextOfChunk(std::string_view chunk);
// The text as a chunk: followed by one NUL byte.
std::string ChunkOfText(std::string_view text);

// The text with its vst1 record set to the mode; the record is added when missing.
std::string WithSyncMode(std::string_view text, SyncMode mode);
// The text with its snd1 record set to the sound mode; the record is added when missing.
std::string WithSoundMode(std::string_view text, SoundMode mode);
// The text with the current pattern of its seq2 record set (0..23); the record, with the
// defaults for its other fields, is added when missing.
std::string WithCurrentPattern(std::string_view text, int pattern);

// The text's patterns as a Standard MIDI File (persistence/MidiExport.h): the pattern (0..23),
// or without one all 24. Throws Failure(PluginUnusable) when the plug-in refuses the text.
std::string PatternsAsMidi(std::string_view text, std::optional<int> pattern, double tempo);

}  // namespace render
