// A host from anywhere: each input is a sequence of calls a host could make, with numbers
// taken from the input (floats by their bits, so infinities and not-a-numbers included), each
// pointer to a buffer of exactly the documented size, and the time information the host
// reports taken from the input as well. The editor's window is never opened.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "FuzzEffect.h"

namespace {

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool empty() const { return position_ >= size_; }
  template <typename T>
  T take() {
    T value{};
    const size_t count = std::min(sizeof value, size_ - position_);
    std::memcpy(&value, data_ + position_, count);
    position_ += count;
    return value;
  }
  std::string text(size_t most) {
    const size_t length = std::min<size_t>(take<uint8_t>() % (most + 1), size_ - position_);
    std::string piece(reinterpret_cast<const char*>(data_ + position_), length);
    position_ += length;
    return piece;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};

vst::VstTimeInfo timeInfo;

intptr_t HostCallback(vst::AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
  if (opcode == vst::audioMasterVersion) return 2400;
  if (opcode == vst::audioMasterGetTime) return reinterpret_cast<intptr_t>(&timeInfo);
  return 0;
}

constexpr int32_t kBlockLimit = 1024;

// Writable buffers of the sizes the interface documents.
template <size_t N>
intptr_t IntoBuffer(vst::AEffect* effect, int32_t opcode, int32_t index, intptr_t value) {
  auto buffer = std::make_unique<char[]>(N);
  std::fill_n(buffer.get(), N, '\0');
  return effect->dispatcher(effect, opcode, index, value, buffer.get(), 0.0f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input input(data, size);
  std::unique_ptr<plugin::Vst> object = fuzz::MakeEffect(HostCallback);
  vst::AEffect* effect = object->getAeffect();
  int32_t blockSize = 0;
  std::vector<float> outputs;
  for (int call = 0; call < 64 && !input.empty(); ++call) {
    const auto choice = input.take<uint8_t>();
    const auto index = static_cast<int32_t>(input.take<int8_t>());
    const auto value = static_cast<intptr_t>(input.take<int32_t>());
    const auto opt = input.take<float>();
    switch (choice % 16) {
      case 0: {
        // Any opcode that takes no pointer.
        static constexpr int32_t kPlain[] = {vst::effOpen,
                                             vst::effSetProgram,
                                             vst::effGetProgram,
                                             vst::effSetSampleRate,
                                             vst::effMainsChanged,
                                             vst::effEditClose,
                                             vst::effEditIdle,
                                             vst::effIdentify,
                                             vst::effCanBeAutomated,
                                             vst::effGetPlugCategory,
                                             vst::effGetVendorVersion,
                                             vst::effGetTailSize,
                                             vst::effGetVstVersion,
                                             vst::effEditKeyDown,
                                             vst::effEditKeyUp,
                                             vst::effSetEditKnobMode,
                                             vst::effStartProcess,
                                             vst::effStopProcess,
                                             vst::effSetProcessPrecision,
                                             9,
                                             100,
                                             -1};
        const int32_t opcode = kPlain[static_cast<size_t>(input.take<uint8_t>()) % std::size(kPlain)];
        effect->dispatcher(effect, opcode, index, value, nullptr, opt);
        break;
      }
      case 1:
        blockSize = std::clamp<int32_t>(static_cast<int32_t>(value), 0, kBlockLimit);
        effect->dispatcher(effect, vst::effSetBlockSize, 0, blockSize, nullptr, 0.0f);
        break;
      case 2:
        IntoBuffer<vst::kMaxProgramNameLength>(effect, vst::effGetProgramName, index, value);
        IntoBuffer<vst::kMaxProgramNameLength>(effect, vst::effGetProgramNameIndexed, index, value);
        break;
      case 3:
        IntoBuffer<vst::kMaxParameterStringLength>(effect, vst::effGetParamLabel + (choice / 16) % 3, index, value);
        break;
      case 4:
        IntoBuffer<vst::kMaxEffectNameLength>(effect, vst::effGetEffectName, index, value);
        IntoBuffer<vst::kMaxVendorStringLength>(effect, vst::effGetVendorString, index, value);
        IntoBuffer<vst::kMaxProductStringLength>(effect, vst::effGetProductString, index, value);
        break;
      case 5: {
        std::string name = input.text(64);
        effect->dispatcher(effect, vst::effSetProgramName, index, value, name.data(), opt);
        break;
      }
      case 6: {
        vst::VstPinProperties pin{};
        effect->dispatcher(effect, (choice & 16) != 0 ? vst::effGetInputProperties : vst::effGetOutputProperties, index,
                           value, &pin, opt);
        break;
      }
      case 7: {
        vst::ERect* rect = nullptr;
        effect->dispatcher(effect, vst::effEditGetRect, index, value, &rect, opt);
        break;
      }
      case 8: {
        void* chunk = nullptr;
        effect->dispatcher(effect, vst::effGetChunk, index, value, &chunk, opt);
        break;
      }
      case 9: {
        const std::string text = input.text(255);
        auto block = std::make_unique<char[]>(text.size());
        std::memcpy(block.get(), text.data(), text.size());
        effect->dispatcher(effect, vst::effSetChunk, index, static_cast<intptr_t>(text.size()), block.get(), opt);
        break;
      }
      case 10: {
        std::string text = input.text(32);
        effect->dispatcher(effect, vst::effCanDo, index, value, text.data(), opt);
        break;
      }
      case 11: {
        const size_t count = input.take<uint8_t>() % 8;
        std::vector<vst::VstMidiEvent> midi(count);
        auto list = std::make_unique<char[]>(sizeof(vst::VstEvents) + count * sizeof(vst::VstEvent*));
        auto* events = reinterpret_cast<vst::VstEvents*>(list.get());
        events->numEvents = static_cast<int32_t>(count);
        vst::VstEvent** entries = events->events;  // more than the two the structure declares
        for (size_t i = 0; i < count; ++i) {
          midi[i].type = (input.take<uint8_t>() & 1) != 0 ? vst::kVstMidiType : vst::kVstSysExType;
          midi[i].byteSize = sizeof(vst::VstMidiEvent);
          midi[i].deltaFrames = input.take<int16_t>();
          for (char& byte : midi[i].midiData) byte = input.take<char>();
          entries[i] = reinterpret_cast<vst::VstEvent*>(&midi[i]);
        }
        effect->dispatcher(effect, vst::effProcessEvents, index, value, events, opt);
        break;
      }
      case 12: {
        // A block no longer than the last block size the host gave.
        const int32_t frames =
            blockSize == 0 ? 0 : static_cast<int32_t>(static_cast<uint32_t>(value) % (blockSize + 1));
        outputs.assign(static_cast<size_t>(effect->numOutputs) * static_cast<size_t>(frames), 0.0f);
        std::vector<float*> channels;
        for (int32_t output = 0; output < effect->numOutputs; ++output) {
          channels.push_back(outputs.data() + static_cast<size_t>(output) * static_cast<size_t>(frames));
        }
        effect->processReplacing(effect, nullptr, channels.data(), frames);
        break;
      }
      case 13: {
        effect->setParameter(effect, index, opt);
        effect->getParameter(effect, index);
        vst::VstParameterProperties properties{};
        effect->dispatcher(effect, vst::effGetParameterProperties, index, value, &properties, opt);
        break;
      }
      case 14:
        timeInfo = input.take<vst::VstTimeInfo>();
        break;
      default:
        effect->dispatcher(effect, vst::effSetSampleRate, 0, 0, nullptr, opt);
        break;
    }
  }
  return 0;
}
