// The effect object that hosts talk to: turns dispatcher calls into engine calls and
// reports the instrument's properties. Root of ownership of everything else.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "editor/EditorLink.h"
#include "engine/DrumEngine.h"
#include "persistence/ChunkReader.h"
#include "vst/AudioEffectX.h"

namespace plugin {

// Where an effect finds its files and how it reads sample files. Hosts get the folder of the
// plug-in module and the sample loader; tests put both elsewhere.
struct EffectEnvironment {
  std::string pluginDirectory;               // ends with the path separator
  persistence::SampleFileLoader loadSample;  // empty: the sample loader, without audition
};

class Vst : public vst::AudioEffectX {
 public:
  explicit Vst(vst::HostCallback host);
  Vst(vst::HostCallback host, EffectEnvironment environment);
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

  // The state as the version 2.0 project text. The block stays valid until the next call.
  int32_t getChunk(void** data, bool isPreset) override;
  // Loads a project text (versions 1.0, 1.1 and 2.0) under the state mutex: 1, or 0 for a text
  // it refuses (with a message, the state untouched).
  int32_t setChunk(void* data, int32_t byteSize, bool isPreset) override;

  // The sync mode, sequencer, kit, voices and editor back to their defaults (also "Clear all now!").
  void resetAll();

  engine::DrumEngine& engine() { return engine_; }
  const std::string& pluginDirectory() const { return pluginDirectory_; }
  const std::string& configurationFilePath() const { return configurationFilePath_; }
  const std::string& samplesFolder() const { return samplesFolder_; }
  editor::EditorLink& editorLink();

 private:
  // Applies the default preset file, if there is one, through setChunk.
  void loadDefaultPreset();
  // After a load: the model's pattern now, and the editor's view (browser start
  // folders, controls, the pattern shown) handed over for the editor's own thread.
  void handLoadToEditor();
  // Asks the host, when it can, to give the editor's window this size.
  void sizeEditorWindow(int32_t width, int32_t height);

  engine::DrumEngine engine_;
  std::string pluginDirectory_;
  std::string configurationFilePath_;
  std::string samplesFolder_;
  persistence::SampleFileLoader loadSample_;
  // The editor, registered with the base; it goes before the engine that it shows.
  std::unique_ptr<editor::EditorLink> editor_;
  std::string chunkText_;
  std::string programName_;
  bool blockSizeReceived_ = false;
};

}  // namespace plugin
