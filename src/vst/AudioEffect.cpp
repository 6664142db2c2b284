#include "vst/AudioEffect.h"

namespace vst {
namespace {

AudioEffect* EffectOf(AEffect* effect) { return static_cast<AudioEffect*>(effect->object); }

// An exception must never reach the host (it would end the host with the user's work): a
// call that fails that way answers 0, as an unhandled opcode does.
intptr_t DispatchEffect(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  try {
    return EffectOf(effect)->dispatcher(opcode, index, value, ptr, opt);
  } catch (...) {
    return 0;
  }
}

void ProcessReplacingEffect(AEffect* effect, float** inputs, float** outputs, int32_t frames) {
  EffectOf(effect)->processReplacing(inputs, outputs, frames);
}

void ProcessDoubleReplacingEffect(AEffect* effect, double** inputs, double** outputs, int32_t frames) {
  EffectOf(effect)->processDoubleReplacing(inputs, outputs, frames);
}

// The accumulating process call is deprecated; hosts that still use it get replacing output.
void ProcessEffect(AEffect* effect, float** inputs, float** outputs, int32_t frames) {
  EffectOf(effect)->processReplacing(inputs, outputs, frames);
}

void SetParameterEffect(AEffect* effect, int32_t index, float value) { EffectOf(effect)->setParameter(index, value); }

float GetParameterEffect(AEffect* effect, int32_t index) { return EffectOf(effect)->getParameter(index); }

}  // namespace

AudioEffect::AudioEffect(HostCallback host, int32_t numPrograms, int32_t numParams)
    : host_(host), numPrograms_(numPrograms), numParams_(numParams) {
  effect_.magic = kEffectMagic;
  effect_.dispatcher = DispatchEffect;
  effect_.process = ProcessEffect;
  effect_.setParameter = SetParameterEffect;
  effect_.getParameter = GetParameterEffect;
  effect_.numPrograms = numPrograms;
  effect_.numParams = numParams;
  effect_.numInputs = 1;
  effect_.numOutputs = 2;
  effect_.ioRatio = 1.0f;
  effect_.object = this;
  effect_.version = 1;
  effect_.processReplacing = ProcessReplacingEffect;
  effect_.processDoubleReplacing = ProcessDoubleReplacingEffect;
}

intptr_t AudioEffect::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  switch (opcode) {
    case effOpen:
      open();
      return 0;
    case effClose:
      close();
      delete this;
      return 1;
    case effSetProgram:
      if (value >= 0 && value < numPrograms_) setProgram(static_cast<int32_t>(value));
      return 0;
    case effGetProgram:
      return getProgram();
    case effSetProgramName:
      if (ptr != nullptr) setProgramName(static_cast<const char*>(ptr));
      return 0;
    case effGetProgramName:
      if (ptr != nullptr) getProgramName(static_cast<char*>(ptr));
      return 0;
    case effGetParamLabel:
      if (ptr != nullptr) getParameterLabel(index, static_cast<char*>(ptr));
      return 0;
    case effGetParamDisplay:
      if (ptr != nullptr) getParameterDisplay(index, static_cast<char*>(ptr));
      return 0;
    case effGetParamName:
      if (ptr != nullptr) getParameterName(index, static_cast<char*>(ptr));
      return 0;
    case effSetSampleRate:
      setSampleRate(opt);
      return 0;
    case effSetBlockSize:
      setBlockSize(static_cast<int32_t>(value));
      return 0;
    case effMainsChanged:
      if (value == 0) {
        suspend();
      } else {
        resume();
      }
      return 0;
    case effEditGetRect:
      if (editor_ == nullptr || ptr == nullptr) return 0;
      return editor_->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
    case effEditOpen:
      return editor_ != nullptr && editor_->open(ptr) ? 1 : 0;
    case effEditClose:
      if (editor_ != nullptr) editor_->close();
      return 0;
    case effEditIdle:
      if (editor_ != nullptr) editor_->idle();
      return 0;
    case effIdentify:
      return FourCharCode('N', 'v', 'E', 'f');
    case effGetChunk:
      if (ptr == nullptr) return 0;
      return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
      // The effect refuses, and reports, a missing block or a size it cannot take.
      return setChunk(ptr, value >= 0 && value <= INT32_MAX ? static_cast<int32_t>(value) : 0, index != 0);
    default:
      return 0;
  }
}

int32_t AudioEffect::getChunk(void** /*data*/, bool /*isPreset*/) { return 0; }

int32_t AudioEffect::setChunk(void* /*data*/, int32_t /*byteSize*/, bool /*isPreset*/) { return 0; }

void AudioEffect::setEditor(AEffEditor* editor) {
  editor_ = editor;
  setFlag(effFlagsHasEditor, editor != nullptr);
}

void AudioEffect::setFlag(int32_t flag, bool on) {
  if (on) {
    effect_.flags |= flag;
  } else {
    effect_.flags &= ~flag;
  }
}

intptr_t AudioEffect::callHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  return host_ != nullptr ? host_(&effect_, opcode, index, value, ptr, opt) : 0;
}

void AudioEffect::setParameterAutomated(int32_t index, float value) {
  setParameter(index, value);
  callHost(audioMasterAutomate, index, 0, nullptr, value);
}

}  // namespace vst
