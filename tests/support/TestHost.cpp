#include "support/TestHost.h"

#include <cstring>
#include <mutex>

#include "platform/Console.h"
#include "platform/DynamicLibrary.h"
#include "plugin/Entry.h"
#include "plugin/Vst.h"

namespace testhost {
namespace {

using Entry = vst::AEffect* (*)(vst::HostCallback);

// The effect calls back before the host knows its AEffect (during construction); those
// calls go to the host that is creating one.
thread_local TestHost* creatingHost = nullptr;

std::mutex registryMutex;
std::map<vst::AEffect*, TestHost*>& Registry() {
  static std::map<vst::AEffect*, TestHost*> hosts;
  return hosts;
}

platform::LibraryHandle ModuleHandle(const std::string& path) {
  static std::map<std::string, platform::LibraryHandle> handles;
  std::lock_guard lock(registryMutex);
  auto found = handles.find(path);
  if (found != handles.end()) return found->second;
  platform::LibraryHandle handle = platform::OpenLibrary(path);
  handles[path] = handle;
  return handle;
}

}  // namespace

TestHost::TestHost() : TestHost(Answers{}) {}

TestHost::TestHost(Answers givenAnswers) : answers(std::move(givenAnswers)) {
  // Recording what the effect asks must not allocate while a test counts the effect's allocations.
  opcodesAsked.reserve(1 << 16);
  timeInfoFilters.reserve(1 << 16);
  automations.reserve(1 << 16);
}

TestHost::~TestHost() { closeEffect(); }

bool TestHost::adopt(vst::AEffect* effect) {
  creatingHost = nullptr;
  effect_ = effect;
  if (effect_ == nullptr) return false;
  std::lock_guard lock(registryMutex);
  Registry()[effect_] = this;
  return true;
}

bool TestHost::loadModule(const char* entryName, const std::string& path) {
  // A windowless host: the plug-in's messages go to standard error, never to a window on the
  // developer's display that would wait for a click.
  platform::WithoutDisplay();
  platform::LibraryHandle handle = ModuleHandle(path);
  if (handle == nullptr) return false;
  auto entry = reinterpret_cast<Entry>(platform::FindSymbol(handle, entryName));
  if (entry == nullptr) return false;
  creatingHost = this;
  return adopt(entry(&TestHost::callback));
}

bool TestHost::createInProcess() {
  creatingHost = this;
  return adopt(plugin::CreateEffect(&TestHost::callback));
}

bool TestHost::createInFolder(const std::string& pluginDirectory) {
  creatingHost = this;
  return adopt((new plugin::Vst(&TestHost::callback, plugin::EffectEnvironment{pluginDirectory, {}}))->getAeffect());
}

void TestHost::closeEffect() {
  if (effect_ == nullptr) return;
  dispatch(vst::effClose);
  std::lock_guard lock(registryMutex);
  Registry().erase(effect_);
  effect_ = nullptr;
}

intptr_t TestHost::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

std::string TestHost::savedProject() {
  void* data = nullptr;
  const intptr_t size = dispatch(vst::effGetChunk, 0, 0, &data);
  if (data == nullptr || size <= 0) return {};
  // The size counts the terminating zero.
  return std::string(static_cast<const char*>(data),
                     strnlen(static_cast<const char*>(data), static_cast<size_t>(size)));
}

intptr_t TestHost::callback(vst::AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  TestHost* host = creatingHost;
  {
    std::lock_guard lock(registryMutex);
    auto found = Registry().find(effect);
    if (found != Registry().end()) host = found->second;
  }
  return host != nullptr ? host->answer(opcode, index, value, ptr, opt) : 0;
}

intptr_t TestHost::answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  opcodesAsked.push_back(opcode);
  switch (opcode) {
    case vst::audioMasterVersion:
      return answers.version;
    case vst::audioMasterGetTime:
      timeInfoFilters.push_back(static_cast<int32_t>(value));
      return answers.timeInfo ? reinterpret_cast<intptr_t>(&timeInfo) : 0;
    case vst::audioMasterCanDo: {
      auto found = answers.canDo.find(static_cast<const char*>(ptr));
      return found != answers.canDo.end() ? found->second : 0;
    }
    case vst::audioMasterAutomate:
      automations.push_back({index, opt});
      return 1;
    case vst::audioMasterSizeWindow:
      windowSizes.push_back({index, static_cast<int32_t>(value)});
      return 1;
    default:
      return 0;
  }
}

void TestHost::start(float sampleRate, int32_t blockSize) {
  timeInfo.sampleRate = sampleRate;
  dispatch(vst::effSetSampleRate, 0, 0, nullptr, sampleRate);
  dispatch(vst::effSetBlockSize, 0, blockSize);
  dispatch(vst::effMainsChanged, 0, 1);
}

Block::Block(int32_t channels, int32_t frames)
    : outputs(static_cast<size_t>(channels), std::vector<float>(static_cast<size_t>(frames), -99.0f)) {
  for (auto& output : outputs) pointers.push_back(output.data());
}

MidiBatch::MidiBatch(const std::vector<MidiMessage>& messages) {
  for (const MidiMessage& message : messages) {
    events_.add(message.deltaFrames, {message.status, message.data1, message.data2});
  }
  list_ = events_.events();
}

void TestHost::sendMidi(const std::vector<MidiMessage>& messages) {
  MidiBatch batch(messages);
  send(batch);
}

void TestHost::send(MidiBatch& batch) { dispatch(vst::effProcessEvents, 0, 0, batch.list()); }

Block TestHost::process(int32_t frames) {
  Block block(effect_->numOutputs, frames);
  processInto(block, frames);
  return block;
}

void TestHost::processInto(Block& block, int32_t frames) {
  effect_->processReplacing(effect_, nullptr, block.pointers.data(), frames);
}

void TestHost::setTransport(bool playing, double ppqPos, double tempo, double sampleRate) {
  timeInfo.sampleRate = sampleRate;
  timeInfo.ppqPos = ppqPos;
  timeInfo.tempo = tempo;
  timeInfo.timeSigNumerator = 4;
  timeInfo.timeSigDenominator = 4;
  timeInfo.flags =
      vst::kVstPpqPosValid | vst::kVstTempoValid | vst::kVstTimeSigValid | (playing ? vst::kVstTransportPlaying : 0);
}

void TestHost::advanceTransport(int32_t frames) {
  timeInfo.samplePos += frames;
  timeInfo.ppqPos += frames * timeInfo.tempo / (60.0 * timeInfo.sampleRate);
}

}  // namespace testhost
