#include "vst/AudioEffectX.h"

namespace vst {

AudioEffectX::AudioEffectX(HostCallback host, int32_t numPrograms, int32_t numParams)
    : AudioEffect(host, numPrograms, numParams) {}

intptr_t AudioEffectX::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  switch (opcode) {
    case effProcessEvents:
      return ptr != nullptr ? processEvents(static_cast<VstEvents*>(ptr)) : 0;
    case effCanBeAutomated:
      return canParameterBeAutomated(index) ? 1 : 0;
    case effGetParameterProperties:
      return ptr != nullptr && getParameterProperties(index, static_cast<VstParameterProperties*>(ptr));
    case effGetProgramNameIndexed:
      return ptr != nullptr && getProgramNameIndexed(static_cast<int32_t>(value), index, static_cast<char*>(ptr));
    case effGetInputProperties:
      return ptr != nullptr && getInputProperties(index, static_cast<VstPinProperties*>(ptr));
    case effGetOutputProperties:
      return ptr != nullptr && getOutputProperties(index, static_cast<VstPinProperties*>(ptr));
    case effGetPlugCategory:
      return getPlugCategory();
    case effGetEffectName:
      return ptr != nullptr && getEffectName(static_cast<char*>(ptr));
    case effGetVendorString:
      return ptr != nullptr && getVendorString(static_cast<char*>(ptr));
    case effGetProductString:
      return ptr != nullptr && getProductString(static_cast<char*>(ptr));
    case effGetVendorVersion:
      return getVendorVersion();
    case effCanDo:
      return ptr != nullptr ? canDo(static_cast<const char*>(ptr)) : 0;
    case effGetTailSize:
      return getTailSize();
    case effGetVstVersion:
      return getVstVersion();
    case effEditKeyDown:
    case effEditKeyUp: {
      // The virtual key and the modifier bits each fit a byte; any other number (negative,
      // too large, infinite or not a number) is no key.
      const bool fits = value >= 0 && value <= 255 && opt >= 0.0f && opt <= 255.0f;
      if (editor_ == nullptr || !fits) return 0;
      VstKeyCode key{index, static_cast<unsigned char>(value), static_cast<unsigned char>(opt)};
      return (opcode == effEditKeyDown ? editor_->onKeyDown(key) : editor_->onKeyUp(key)) ? 1 : 0;
    }
    case effSetEditKnobMode:
      return editor_ != nullptr && editor_->setKnobMode(static_cast<int32_t>(value));
    case effStartProcess:
      return startProcess();
    case effStopProcess:
      return stopProcess();
    default:
      return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
  }
}

void AudioEffectX::resume() {
  if ((effect_.flags & effFlagsIsSynth) != 0) wantEvents();
}

int32_t AudioEffectX::getPlugCategory() {
  return (effect_.flags & effFlagsIsSynth) != 0 ? kPlugCategSynth : kPlugCategUnknown;
}

VstTimeInfo* AudioEffectX::getTimeInfo(int32_t filter) {
  return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}

bool AudioEffectX::canHostDo(const char* text) { return callHost(audioMasterCanDo, 0, 0, const_cast<char*>(text)) > 0; }

void AudioEffectX::wantEvents(int32_t filter) { callHost(audioMasterWantMidi, 0, filter); }

bool AudioEffectX::beginEdit(int32_t index) { return callHost(audioMasterBeginEdit, index) != 0; }

bool AudioEffectX::endEdit(int32_t index) { return callHost(audioMasterEndEdit, index) != 0; }

}  // namespace vst
