// The VST 2.x adapter that hosts talk to: turns dispatcher calls into calls of the instrument
// and its editor, and reports the instrument's properties. Root of ownership of everything else.
#pragma once

#include <cstdint>
#include <string>

#include "editor/EditorLink.h"
#include "instrument/Instrument.h"
#include "plugin/VstEditor.h"
#include "vst/AudioEffectX.h"

namespace plugin {

using EffectEnvironment = instrument::Environment;

class Vst : public vst::AudioEffectX {
 public:
  explicit Vst(vst::HostCallback host);
  Vst(vst::HostCallback host, EffectEnvironment environment);

  void resume() override;
  // Tuned sound prepares the samples for the new rate; resume waits until they are ready.
  void setSampleRate(float rate) override;
  void setBlockSize(int32_t size) override;
  void processReplacing(float** inputs, float** outputs, int32_t frames) override;
  int32_t processEvents(vst::VstEvents* events) override;

  // The host parameters of instrument/Parameters.h. setParameter comes on any thread.
  void setParameter(int32_t index, float value) override;
  float getParameter(int32_t index) override;
  void getParameterName(int32_t index, char* text) override;
  void getParameterLabel(int32_t index, char* text) override;
  void getParameterDisplay(int32_t index, char* text) override;
  bool getParameterProperties(int32_t index, vst::VstParameterProperties* properties) override;

  void setProgramName(const char* name) override;
  void getProgramName(char* name) override;
  bool getProgramNameIndexed(int32_t category, int32_t index, char* text) override;
  bool getOutputProperties(int32_t index, vst::VstPinProperties* properties) override;
  bool getEffectName(char* name) override;
  bool getVendorString(char* text) override;
  bool getProductString(char* text) override;
  int32_t getVendorVersion() override;
  int32_t canDo(const char* text) override;

  // The state as the version 2.0 project text. The block stays valid until the next call.
  int32_t getChunk(void** data, bool isPreset) override;
  // Loads a project text (versions 1.0, 1.1 and 2.0) under the state mutex: 1, or 0 for a text
  // it refuses (with a message, the state untouched).
  int32_t setChunk(void* data, int32_t byteSize, bool isPreset) override;

  instrument::Instrument& instrument() { return instrument_; }
  const instrument::Instrument& instrument() const { return instrument_; }
  editor::EditorLink& editorLink() { return editor_.editor(); }

 private:
  // Asks the host, when it can, to give the editor's window this size.
  void sizeEditorWindow(int32_t width, int32_t height);

  instrument::Instrument instrument_;
  // The editor, registered with the base; it goes before the instrument that it shows.
  VstEditor editor_;
  std::string programName_;
  bool blockSizeReceived_ = false;
};

}  // namespace plugin
