// A host for tests: creates an effect either from the built plug-in module (dlopen and its
// entry point, as a DAW does) or in this process, answers the host callback with values the
// test controls, records what the effect asks of it, and drives the effect block by block.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "vst/MidiEventList.h"
#include "vst/VstInterface.h"

namespace testhost {

struct Automation {
  int32_t index;
  float value;
};

struct MidiMessage {
  int32_t deltaFrames;
  uint8_t status;
  uint8_t data1;
  uint8_t data2;
};

// The output channels of one block.
struct Block {
  Block() = default;
  Block(int32_t channels, int32_t frames);
  std::vector<std::vector<float>> outputs;
  std::vector<float*> pointers;  // what processReplacing receives
  float at(int output, int frame) const { return outputs[static_cast<size_t>(output)][static_cast<size_t>(frame)]; }
};

// MIDI messages laid out as the VstEvents list a host hands over.
class MidiBatch {
 public:
  explicit MidiBatch(const std::vector<MidiMessage>& messages);
  MidiBatch(const MidiBatch&) = delete;
  MidiBatch& operator=(const MidiBatch&) = delete;
  // Laid out once, so that sending the batch allocates nothing.
  vst::VstEvents* list() { return list_; }

 private:
  vst::MidiEventList events_;
  vst::VstEvents* list_;
};

class TestHost {
 public:
  // What the host answers; set before creating the effect where it matters.
  struct Answers {
    intptr_t version = 2400;
    bool timeInfo = true;
    std::map<std::string, intptr_t> canDo{{"sendVstTimeInfo", 1}, {"sendVstMidiEvent", 1}};
  };

  TestHost();
  explicit TestHost(Answers answers);
  ~TestHost();
  TestHost(const TestHost&) = delete;
  TestHost& operator=(const TestHost&) = delete;

  // Loads the module (once per process) and calls the named entry point. False when the
  // module or the entry is missing, or the entry returned null.
  bool loadModule(const char* entry = "VSTPluginMain", const std::string& path = KH_PLUGIN_PATH);
  // Creates the effect through the plug-in's own factory, linked into the test.
  bool createInProcess();
  // The same with the plug-in directory given: its configuration file and skin folder are there.
  bool createInFolder(const std::string& pluginDirectory);
  // Closes the effect (effClose) if there is one.
  void closeEffect();

  vst::AEffect* effect() const { return effect_; }
  template <typename T>
  T& object() const {
    return *static_cast<T*>(effect_->object);
  }
  intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0.0f);
  // The project as the host saves it (effGetChunk), without its terminating zero.
  std::string savedProject();

  // Sample rate, block size and resume, as a host does before processing.
  void start(float sampleRate = 48000.0f, int32_t blockSize = 512);
  void sendMidi(const std::vector<MidiMessage>& messages);
  void send(MidiBatch& batch);
  Block process(int32_t frames);
  // Renders into a block made beforehand (the host side allocates nothing).
  void processInto(Block& block, int32_t frames);
  // The transport: playing at a tempo from a song position (in quarter notes).
  void setTransport(bool playing, double ppqPos, double tempo = 120.0, double sampleRate = 48000.0);
  // Moves the song position on by a number of frames at the current tempo.
  void advanceTransport(int32_t frames);

  Answers answers;
  vst::VstTimeInfo timeInfo{};
  std::vector<Automation> automations;
  std::vector<int32_t> opcodesAsked;
  std::vector<int32_t> timeInfoFilters;
  // Each window size the effect asked for (audioMasterSizeWindow): width, height.
  std::vector<std::pair<int32_t, int32_t>> windowSizes;

 private:
  static intptr_t callback(vst::AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
  intptr_t answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
  bool adopt(vst::AEffect* effect);

  vst::AEffect* effect_ = nullptr;
};

}  // namespace testhost
