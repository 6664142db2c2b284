// The effect side of the VST 2.x interface: owns the AEffect record that the host
// holds, turns dispatcher opcodes into virtual calls and wraps the host callback.
#pragma once

#include "vst/AEffEditor.h"
#include "vst/VstInterface.h"

namespace vst {

class AudioEffect {
 public:
  AudioEffect(HostCallback host, int32_t numPrograms, int32_t numParams);
  // The editor registered with setEditor belongs to the effect that registers it.
  virtual ~AudioEffect() = default;
  AudioEffect(const AudioEffect&) = delete;
  AudioEffect& operator=(const AudioEffect&) = delete;

  AEffect* getAeffect() { return &effect_; }

  // Answers one dispatcher opcode; opcodes nobody handles answer 0.
  virtual intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

  virtual void open() {}
  virtual void close() {}
  virtual void suspend() {}
  virtual void resume() {}
  virtual void setSampleRate(float rate) { sampleRate_ = rate; }
  virtual void setBlockSize(int32_t size) { blockSize_ = size; }

  virtual void setProgram(int32_t program) { currentProgram_ = program; }
  virtual int32_t getProgram() { return currentProgram_; }
  virtual void setProgramName(const char* /*name*/) {}
  virtual void getProgramName(char* name) { *name = '\0'; }

  virtual void setParameter(int32_t /*index*/, float /*value*/) {}
  virtual float getParameter(int32_t /*index*/) { return 0.0f; }
  virtual void getParameterLabel(int32_t /*index*/, char* text) { *text = '\0'; }
  virtual void getParameterDisplay(int32_t /*index*/, char* text) { *text = '\0'; }
  virtual void getParameterName(int32_t /*index*/, char* text) { *text = '\0'; }

  virtual void processReplacing(float** inputs, float** outputs, int32_t frames) = 0;
  virtual void processDoubleReplacing(double** /*inputs*/, double** /*outputs*/, int32_t /*frames*/) {}

  // Chunk interface; sizes in bytes.
  virtual int32_t getChunk(void** data, bool isPreset);
  virtual int32_t setChunk(void* data, int32_t byteSize, bool isPreset);

  // Registers the editor (null removes it) and keeps effFlagsHasEditor in step.
  void setEditor(AEffEditor* editor);
  AEffEditor* getEditor() { return editor_; }

  // Sends a parameter change to the host as automation.
  void setParameterAutomated(int32_t index, float value);

 protected:
  intptr_t callHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0.0f);

  void setUniqueID(int32_t id) { effect_.uniqueID = id; }
  void setNumInputs(int32_t count) { effect_.numInputs = count; }
  void setNumOutputs(int32_t count) { effect_.numOutputs = count; }
  void setFlag(int32_t flag, bool on);
  void canProcessReplacing(bool state = true) { setFlag(effFlagsCanReplacing, state); }
  void programsAreChunks(bool state = true) { setFlag(effFlagsProgramChunks, state); }

  HostCallback host_;
  AEffEditor* editor_ = nullptr;
  float sampleRate_ = 44100.0f;
  int32_t blockSize_ = 1024;
  int32_t numPrograms_;
  int32_t numParams_;
  int32_t currentProgram_ = 0;
  AEffect effect_{};
};

}  // namespace vst
