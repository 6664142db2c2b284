// Audio files with a recognisable signal, and what a holder made of them.
#pragma once

#include <sndfile.h>

#include <string>
#include <vector>

#include "engine/SampleHolder.h"
#include "support/SoundFile.h"
#include "support/TempFolder.h"

namespace sampletest {

// Frames of a recognisable signal: channel c of frame f is (f % 100 + 1) / 200 + c / 4, so every
// value tells which frame and channel it came from.
std::vector<float> TestSignal(int frames, int channels);
float TestValue(int frame, int channel);

// Writes the signal as a 32-bit float WAV and returns the path.
std::string WriteTestWav(const testhost::TempFolder& folder, const std::string& name, int frames, int channels);
// The whole file, read back as interleaved floats.
std::vector<float> ReadSoundFile(const std::string& path, SF_INFO& info);

// Every item of the holder's sample array, or none when it is empty.
std::vector<float> HolderSamples(const engine::SampleHolder& holder);

// Rewrites the total-samples field of a FLAC file's stream information, so that its header
// promises another number of frames than the file holds.
void SetFlacFrameCount(const std::string& path, uint64_t frames);

}  // namespace sampletest
