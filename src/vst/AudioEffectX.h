// The VST 2.x extensions of the effect: events, time information, pins, names and
// capability queries, with the defaults a plug-in gets unless it overrides them.
#pragma once

#include "vst/AudioEffect.h"

namespace vst {

class AudioEffectX : public AudioEffect {
 public:
  AudioEffectX(HostCallback host, int32_t numPrograms, int32_t numParams);

  intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override;

  // Synths ask the host for MIDI when they are switched on.
  void resume() override;

  virtual int32_t processEvents(VstEvents* /*events*/) { return 0; }
  virtual bool canParameterBeAutomated(int32_t /*index*/) { return true; }
  virtual bool getParameterProperties(int32_t /*index*/, VstParameterProperties* /*properties*/) { return false; }
  virtual bool getProgramNameIndexed(int32_t /*category*/, int32_t /*index*/, char* /*text*/) { return false; }
  virtual bool getInputProperties(int32_t /*index*/, VstPinProperties* /*properties*/) { return false; }
  virtual bool getOutputProperties(int32_t /*index*/, VstPinProperties* /*properties*/) { return false; }
  virtual int32_t getPlugCategory();
  virtual bool getEffectName(char* /*name*/) { return false; }
  virtual bool getVendorString(char* /*text*/) { return false; }
  virtual bool getProductString(char* /*text*/) { return false; }
  virtual int32_t getVendorVersion() { return 0; }
  // 1 yes, -1 no, 0 don't know.
  virtual int32_t canDo(const char* /*text*/) { return 0; }
  virtual int32_t getTailSize() { return 0; }
  virtual int32_t getVstVersion() { return kVstVersion; }
  virtual int32_t startProcess() { return 0; }
  virtual int32_t stopProcess() { return 0; }

  // Host requests.
  // Null when the host gives no time information.
  VstTimeInfo* getTimeInfo(int32_t filter);
  bool canHostDo(const char* text);
  void wantEvents(int32_t filter = 1);
  bool beginEdit(int32_t index);
  bool endEdit(int32_t index);

 protected:
  void isSynth(bool state = true) { setFlag(effFlagsIsSynth, state); }
};

}  // namespace vst
