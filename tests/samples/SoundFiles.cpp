#include "SoundFiles.h"

#include <gtest/gtest.h>

#include <fstream>

namespace sampletest {

float TestValue(int frame, int channel) {
  return static_cast<float>(frame % 100 + 1) / 200.0f + static_cast<float>(channel) / 4.0f;
}

std::vector<float> TestSignal(int frames, int channels) {
  std::vector<float> samples;
  samples.reserve(static_cast<size_t>(frames) * static_cast<size_t>(channels));
  for (int frame = 0; frame < frames; ++frame) {
    for (int channel = 0; channel < channels; ++channel) samples.push_back(TestValue(frame, channel));
  }
  return samples;
}

std::string WriteTestWav(const testhost::TempFolder& folder, const std::string& name, int frames, int channels) {
  const std::string path = folder.file(name);
  testhost::WriteSoundFile(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, channels, TestSignal(frames, channels));
  return path;
}

std::vector<float> ReadSoundFile(const std::string& path, SF_INFO& info) {
  info = {};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) return {};
  std::vector<float> samples(static_cast<size_t>(info.frames * info.channels));
  sf_readf_float(file, samples.data(), info.frames);
  sf_close(file);
  return samples;
}

std::vector<float> HolderSamples(const engine::SampleHolder& holder) {
  const engine::SampleBuffer* buffer = holder.sample();
  if (buffer == nullptr) return {};
  return {buffer->samples.get(), buffer->samples.get() + static_cast<size_t>(buffer->frames) * buffer->channels};
}

void SetFlacFrameCount(const std::string& path, uint64_t frames) {
  // "fLaC", the 4-byte block header, then the stream information: the 36-bit total sample
  // count takes the low 4 bits of byte 21 and bytes 22 to 25.
  std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
  ASSERT_TRUE(file) << path;
  file.seekg(21);
  char byte21 = 0;
  file.read(&byte21, 1);
  const char bytes[5] = {static_cast<char>((byte21 & 0xF0) | static_cast<char>((frames >> 32) & 0x0F)),
                         static_cast<char>(frames >> 24), static_cast<char>(frames >> 16),
                         static_cast<char>(frames >> 8), static_cast<char>(frames)};
  file.seekp(21);
  file.write(bytes, sizeof bytes);
  ASSERT_TRUE(file) << path;
}

}  // namespace sampletest
