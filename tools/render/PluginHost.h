// Hosts one VST 2.x plug-in module as a DAW does: loads it as a shared library, creates the effect
// through its entry point, answers its host callback and drives it block by block. Knows
// nothing of the plug-in beyond the VST 2.x interface.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/DynamicLibrary.h"
#include "vst/MidiEventList.h"
#include "vst/VstInterface.h"

namespace render {

// A MIDI message at a frame of the coming block.
struct BlockMidiMessage {
  int32_t deltaFrames;
  std::array<uint8_t, 3> data;
};

class PluginHost {
 public:
  // Loads the module and creates its effect; throws Failure(PluginUnusable) with the reason.
  // One effect per process: the host callback carries no context of its own.
  explicit PluginHost(const std::string& modulePath);
  ~PluginHost();
  PluginHost(const PluginHost&) = delete;
  PluginHost& operator=(const PluginHost&) = delete;

  // Sample rate and block size, as hosts send them before resume.
  void configure(double sampleRate, int32_t blockSize);
  void resume();
  void suspend();

  int32_t outputCount() const { return effect_->numOutputs; }
  int32_t uniqueId() const { return effect_->uniqueID; }
  int32_t effectVersion() const { return effect_->version; }
  std::string programName();

  // The effect's state as chunk bytes (a copy of the buffer the effect owns), and back.
  // Both throw Failure(PluginUnusable) when the effect keeps no chunks. setChunk returns the
  // effect's answer, which only some effects give a meaning.
  std::string getChunk();
  intptr_t setChunk(const std::string& chunk);

  // The index of the parameter of that name (its full name where the effect gives one, else its
  // short name; letter case aside), or -1.
  int32_t findParameter(const std::string& name);
  void setParameter(int32_t index, float value) { effect_->setParameter(effect_, index, value); }

  // What the effect reads through audioMasterGetTime during the next block.
  vst::VstTimeInfo& timeInfo() { return timeInfo_; }
  void sendMidi(const std::vector<BlockMidiMessage>& messages);
  void process(float** outputs, int32_t frames);

 private:
  static intptr_t callback(vst::AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
  intptr_t answer(int32_t opcode, intptr_t value, void* ptr);
  intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0.0f);
  void requireChunks() const;

  std::string modulePath_;
  platform::LibraryHandle module_ = nullptr;
  vst::AEffect* effect_ = nullptr;
  bool resumed_ = false;
  double sampleRate_ = 48000.0;
  int32_t blockSize_ = 512;
  vst::VstTimeInfo timeInfo_{};
  vst::MidiEventList midiEvents_;
};

}  // namespace render
