#include "SoundFile.h"

#include <gtest/gtest.h>

namespace testhost {

void WriteSoundFile(const std::string& path, int format, int channels, const std::vector<float>& samples,
                    int sampleRate) {
  SF_INFO info{};
  info.samplerate = sampleRate;
  info.channels = channels;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(file, nullptr) << path << ": " << sf_strerror(nullptr);
  const auto frames = static_cast<sf_count_t>(samples.size()) / channels;
  EXPECT_EQ(sf_writef_float(file, samples.data(), frames), frames);
  sf_close(file);
}

}  // namespace testhost
