// Audio files that tests make for themselves with libsndfile itself (the code under test binds
// the library at run time).
#pragma once

#include <sndfile.h>

#include <string>
#include <vector>

namespace testhost {

// Writes the interleaved samples; format is a libsndfile major | subtype, e.g. SF_FORMAT_WAV | SF_FORMAT_FLOAT.
void WriteSoundFile(const std::string& path, int format, int channels, const std::vector<float>& samples,
                    int sampleRate = 48000);

}  // namespace testhost
