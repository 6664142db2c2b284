// Loading a project text handed over by the host: the version check, the reset and the
// records. Any thread (a host may restore a project on its own); the caller holds the state mutex.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/DrumEngine.h"
#include "persistence/ChunkReader.h"

namespace persistence {

// Why a block is not a whole text, or empty when it is: a NUL byte inside it with more text
// after it ends the text there, and every record after it would be lost without a word.
std::string ChunkDamage(std::string_view block);

// The host's block: the text is the bytes up to the first NUL, never more than byteSize.
// A damaged block, a text of another version, a missing block or a size that is not positive
// is refused with a message and changes nothing: the result is false. Texts of versions 1.0 and 1.1
// are converted after a warning. An accepted text calls resetAll first and then reads the
// records into the engine, the samples folder standing for its placeholder.
bool LoadChunk(const void* data, int32_t byteSize, std::string_view samplesFolder, engine::DrumEngine& engine,
               const std::function<void()>& resetAll, const SampleFileLoader& loadSample);

}  // namespace persistence
