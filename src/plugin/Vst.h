// The effect object that hosts talk to: turns dispatcher calls into engine calls and
// reports the instrument's properties. Root of ownership of everything else.
#pragma once

#include <cstdint>
#include <string>

#include "engine/DrumEngine.h"
#include "vst/AudioEffectX.h"

namespace plugin {

class Vst : public vst::AudioEffectX {
 public:
  explicit Vst(vst::HostCallback host);
  ~Vst() override;

  void resume() override;
  void setBlockSize(int32_t size) override;
  void processReplacing(float** inputs, float** outputs, int32_t frames) override;
  int32_t processEvents(vst::VstEvents* events) override;

  void setProgramName(const char* name) override;
  void getProgramName(char* name) override;
  bool getProgramNameIndexed(int32_t category, int32_t index, char* text) override;
  bool getOutputProperties(int32_t index, vst::VstPinProperties* properties) override;
  bool getEffectName(char* name) override;
  bool getVendorString(char* text) override;
  bool getProductString(char* text) override;
  int32_t getVendorVersion() override;
  int32_t canDo(const char* text) override;

  // The sync mode, sequencer, kit and voices back to their defaults (also "Clear all now!").
  void resetAll();

  engine::DrumEngine& engine() { return engine_; }
  const std::string& pluginDirectory() const { return pluginDirectory_; }
  const std::string& configurationFilePath() const { return configurationFilePath_; }

 private:
  engine::DrumEngine engine_;
  std::string pluginDirectory_;
  std::string configurationFilePath_;
  std::string programName_;
  bool blockSizeReceived_ = false;
};

}  // namespace plugin
