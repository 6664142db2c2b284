// What a host sees of the plug-in module: entry points, properties, names and capabilities.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "instrument/Parameters.h"
#include "support/MessageCapture.h"
#include "support/TestHost.h"
#include "vst/VstInterface.h"

namespace {

using testhost::TestHost;

std::string ProgramName(TestHost& host) {
  char name[vst::kMaxProgramNameLength] = {};
  host.dispatch(vst::effGetProgramName, 0, 0, name);
  return name;
}

TEST(HostProperties, BothEntryPointsCreateTheEffectWithItsPropertiesAndNoKeysOutsideTheirBytes) {
  for (const char* entry : {"VSTPluginMain", "main"}) {
    TestHost host;
    ASSERT_TRUE(host.loadModule(entry)) << entry;
    const vst::AEffect& effect = *host.effect();
    EXPECT_EQ(effect.magic, vst::kEffectMagic);
    // The identifier under which hosts have stored their projects.
    EXPECT_EQ(effect.uniqueID, vst::FourCharCode('k', 's', 'h', 'w'));
    EXPECT_EQ(effect.numOutputs, 24);
    const int32_t required = vst::effFlagsIsSynth | vst::effFlagsProgramChunks | vst::effFlagsCanReplacing;
    EXPECT_EQ(effect.flags & required, required);
    EXPECT_EQ(host.dispatch(vst::effGetVstVersion), 2400);
    EXPECT_EQ(host.dispatch(vst::effGetPlugCategory), vst::kPlugCategSynth);
    EXPECT_EQ(host.dispatch(200), 0) << "an opcode nobody handles";
    EXPECT_EQ(host.dispatch(vst::effEditOpen), 0) << "no editor yet";
    // Key numbers and modifiers outside their bytes are no keys.
    for (const int32_t opcode : {vst::effEditKeyDown, vst::effEditKeyUp}) {
      for (const float modifiers :
           {-1.0f, 300.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        EXPECT_EQ(host.dispatch(opcode, 0, vst::VKEY_UP, nullptr, modifiers), 0) << modifiers;
      }
      for (const intptr_t key : {intptr_t{-1}, intptr_t{256 + vst::VKEY_UP}})
        EXPECT_EQ(host.dispatch(opcode, 0, key), 0);
    }
  }
  // A host that gives no version gets no effect.
  EXPECT_FALSE(TestHost({.version = 0}).loadModule());
  EXPECT_FALSE(TestHost({.version = 0}).createInProcess());
}

TEST(HostProperties, NamesAndOutputLabelsFitTheHostsBuffers) {
  TestHost host;
  ASSERT_TRUE(host.loadModule());
  for (const auto& [opcode, size] : {std::pair<int32_t, size_t>{vst::effGetEffectName, vst::kMaxEffectNameLength},
                                     {vst::effGetVendorString, vst::kMaxVendorStringLength},
                                     {vst::effGetProductString, vst::kMaxProductStringLength}}) {
    std::string buffer(size + 8, '#');
    EXPECT_EQ(host.dispatch(opcode, 0, 0, buffer.data()), 1) << opcode;
    const size_t length = buffer.find('\0');
    EXPECT_GT(length, 0u) << opcode;
    EXPECT_LT(length, size) << opcode;
    EXPECT_EQ(buffer.substr(size), std::string(8, '#')) << opcode;
  }
  // A long program name is cut to the 24-byte buffer, never written past it; only program zero
  // has a name.
  std::string name(300, 'x');
  host.dispatch(vst::effSetProgramName, 0, 0, name.data());
  name.assign(vst::kMaxProgramNameLength + 8, '#');
  EXPECT_EQ(host.dispatch(vst::effGetProgramNameIndexed, 1, 0, name.data()), 0);
  EXPECT_EQ(name[0], '#');
  EXPECT_EQ(host.dispatch(vst::effGetProgramNameIndexed, 0, 0, name.data()), 1);
  EXPECT_EQ(name.c_str(), std::string(vst::kMaxProgramNameLength - 1, 'x'));
  EXPECT_EQ(name[vst::kMaxProgramNameLength], '#');

  // Output pairs are labelled by note name.
  const char* expected[] = {"KHW-C",  "KHW-C#", "KHW-D",  "KHW-D#", "KHW-E",  "KHW-F",
                            "KHW-F#", "KHW-G",  "KHW-G#", "KHW-A",  "KHW-A#", "KHW-B"};
  vst::VstPinProperties pin;
  for (int32_t output = 0; output < 24; ++output) {
    std::memset(&pin, 0x55, sizeof pin);
    ASSERT_EQ(host.dispatch(vst::effGetOutputProperties, output, 0, &pin), 1);
    EXPECT_STREQ(pin.label, expected[output / 2]);
    EXPECT_EQ(pin.flags, vst::kVstPinIsActive | vst::kVstPinIsStereo);
    EXPECT_EQ(pin.shortLabel[0], 0x55) << "only the label and the flags are written";
  }
  // Beyond the last output, and of inputs, nothing is written.
  std::memset(&pin, 0x55, sizeof pin);
  EXPECT_EQ(host.dispatch(vst::effGetOutputProperties, 24, 0, &pin), 0);
  EXPECT_EQ(host.dispatch(vst::effGetInputProperties, 0, 0, &pin), 0);
  EXPECT_EQ(pin.label[0], 0x55);
}

// What a host shows of each kind of parameter, after setting it. The three texts never pass
// the 8 bytes of the interface; the full name is in the properties.
TEST(HostProperties, ParametersHaveNamesUnitsShownValuesAndSteps) {
  TestHost host;
  ASSERT_TRUE(host.loadModule());
  vst::AEffect* effect = host.effect();
  EXPECT_EQ(effect->numParams, 86);
  constexpr int32_t kStepped = vst::kVstParameterUsesFloatStep;
  constexpr int32_t kContinuous = vst::kVstParameterUsesFloatStep | vst::kVstParameterCanRamp;
  const struct {
    int32_t index;
    float value;
    const char* name;
    const char* shortName;
    const char* unit;
    const char* display;
    int32_t flags;
    float step;
  } cases[] = {
      {0, 0.5f, "C Volume", "C Vol", "dB", "-6.0", kContinuous, 0.01f},
      {0, 0.0f, "C Volume", "C Vol", "dB", "-inf", kContinuous, 0.01f},
      {8, 0.35f, "C# Pan", "C# Pan", "", "L 30", kContinuous, 0.01f},
      {8, 0.5f, "C# Pan", "C# Pan", "", "C", kContinuous, 0.01f},
      {8, 1.0f, "C# Pan", "C# Pan", "", "R 100", kContinuous, 0.01f},
      {16, 0.76f, "D Pitch", "D Ptch", "st", "+7", kStepped, 0.04f},
      {16, 0.0f, "D Pitch", "D Ptch", "st", "-12", kStepped, 0.04f},
      {24, 0.64f, "D# Length", "D# Len", "%", "64", kContinuous, 0.01f},
      {32, 1.0f, "E Swing", "E Swng", "", "On", vst::kVstParameterIsSwitch, 0.0f},
      {40, 1.0f, "F Mute", "F Mute", "", "On", vst::kVstParameterIsSwitch, 0.0f},
      {48, 0.2f, "F# Solo", "F# Solo", "", "Off", vst::kVstParameterIsSwitch, 0.0f},
      {83, 1.0f, "B Solo", "B Solo", "", "On", vst::kVstParameterIsSwitch, 0.0f},
      {84, 1.0f, "Master Level", "Master", "dB", "0.0", kContinuous, 0.01f},
      {85, 0.25f, "Swing Amount", "Swing", "%", "25", kContinuous, 0.01f},
  };
  const auto text = [&](int32_t opcode, int32_t index) {
    char buffer[vst::kMaxParameterStringLength + 8];
    std::memset(buffer, '#', sizeof buffer);
    host.dispatch(opcode, index, 0, buffer);
    EXPECT_EQ(std::string(buffer + vst::kMaxParameterStringLength, 8), std::string(8, '#')) << opcode << " " << index;
    return std::string(buffer, strnlen(buffer, vst::kMaxParameterStringLength));
  };
  for (const auto& c : cases) {
    effect->setParameter(effect, c.index, c.value);
    EXPECT_EQ(text(vst::effGetParamName, c.index), c.shortName);
    EXPECT_EQ(text(vst::effGetParamLabel, c.index), c.unit);
    EXPECT_EQ(text(vst::effGetParamDisplay, c.index), c.display) << c.name;
    vst::VstParameterProperties properties;
    std::memset(&properties, 0x55, sizeof properties);
    ASSERT_EQ(host.dispatch(vst::effGetParameterProperties, c.index, 0, &properties), 1);
    EXPECT_STREQ(properties.label, c.name);
    EXPECT_STREQ(properties.shortLabel, c.shortName);
    EXPECT_EQ(properties.flags, c.flags) << c.name;
    EXPECT_FLOAT_EQ(properties.stepFloat, c.step) << c.name;
    EXPECT_EQ(host.dispatch(vst::effCanBeAutomated, c.index), 1);
  }
  // Beyond the map: no texts, no properties.
  for (int32_t index : {-1, 86, 1000}) {
    EXPECT_EQ(text(vst::effGetParamName, index), "");
    EXPECT_EQ(text(vst::effGetParamDisplay, index), "");
    vst::VstParameterProperties properties{};
    EXPECT_EQ(host.dispatch(vst::effGetParameterProperties, index, 0, &properties), 0);
    EXPECT_EQ(effect->getParameter(effect, index), 0.0f);
  }
}

// Each kind of parameter and every pitch step reads back as set: switches at their half, values
// beyond 0..1 at their ends, and NaN changes nothing. A host that restores the values it read
// after loading the project leaves the state as the project has it.
TEST(HostProperties, ParametersRoundTripAndARestoreAfterTheProjectChangesNothing) {
  TestHost host;
  ASSERT_TRUE(host.loadModule());
  vst::AEffect* effect = host.effect();
  const auto get = [&](int32_t index) { return effect->getParameter(effect, index); };
  const auto set = [&](int32_t index, float value) { effect->setParameter(effect, index, value); };
  for (const auto& [index, value, read] : {std::tuple{0, 0.3f, 0.3f},
                                           {1, 1.5f, 1.0f},
                                           {8, -0.5f, 0.0f},
                                           {24, 0.7f, 0.7f},
                                           {32, 0.7f, 1.0f},
                                           {40, 0.6f, 1.0f},
                                           {48, 0.5f, 1.0f},
                                           {83, -2.0f, 0.0f},
                                           {84, 0.3f, 0.3f},
                                           {85, 1.5f, 1.0f}}) {
    set(index, value);
    EXPECT_EQ(get(index), read) << index << " set to " << value;
    set(index, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(get(index), read) << index;
  }
  for (int pitch = -12; pitch <= 12; ++pitch) {
    set(16, *instrument::PitchValue(pitch));
    EXPECT_EQ(*instrument::PitchFromValue(get(16)), pitch);
  }
  set(16, 0.3f);
  EXPECT_EQ(get(16), *instrument::PitchValue(*instrument::PitchFromValue(0.3f))) << "the step's value";

  // Holder 1 soloed (the others muted by it), holder 2 muted by the user.
  constexpr int kKinds = instrument::kHolderParameterCount;
  for (int32_t index = 0; index < effect->numParams; ++index) set(index, 0.0f);
  set(1 * kKinds + 6, 1.0f);
  set(2 * kKinds + 5, 1.0f);
  set(3 * kKinds + 2, 0.9f);
  const std::string project = host.savedProject();
  std::vector<float> values;
  for (int32_t index = 0; index < effect->numParams; ++index) values.push_back(get(index));
  ASSERT_EQ(
      host.dispatch(vst::effSetChunk, 0, static_cast<intptr_t>(project.size()), const_cast<char*>(project.data())), 1);
  for (int32_t index = 0; index < effect->numParams; ++index) set(index, values[static_cast<size_t>(index)]);
  EXPECT_EQ(host.savedProject(), project);
  for (int32_t index = 0; index < effect->numParams; ++index) EXPECT_EQ(get(index), values[static_cast<size_t>(index)]);
}

TEST(HostProperties, ProgramNamesCountUpPerEffectAndWrapAfter255) {
  const auto number = [](TestHost& host) { return std::stoi(ProgramName(host).substr(8)); };
  TestHost first;
  TestHost second;
  ASSERT_TRUE(first.loadModule());
  ASSERT_TRUE(second.loadModule());
  EXPECT_EQ(ProgramName(first).substr(0, 8), "Drumset ");
  EXPECT_EQ(number(second), (number(first) + 1) % 256);
  for (int created = 2; created < 256; ++created) ASSERT_TRUE(TestHost().loadModule());
  TestHost wrapped;
  ASSERT_TRUE(wrapped.loadModule());
  EXPECT_EQ(number(wrapped), number(first));
}

// The effect's own capabilities; a host lacking one of its own is told at every query.
TEST(HostProperties, CanDoAnswersAndTellsAboutMissingHostCapabilitiesEachTime) {
  testhost::MessageCapture messages;
  TestHost::Answers limited;
  limited.canDo.clear();
  TestHost host(limited);
  ASSERT_TRUE(host.createInProcess());
  auto canDo = [&](const char* text) { return host.dispatch(vst::effCanDo, 0, 0, const_cast<char*>(text)); };
  for (const char* yes : {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo", "midiProgramNames"}) {
    EXPECT_EQ(canDo(yes), 1) << yes;
  }
  for (const char* no : {"sendVstMidiEvent", "ReceiveVstEvents", ""}) EXPECT_EQ(canDo(no), -1) << no;
  ASSERT_EQ(messages.count("Information"), 14u);
  EXPECT_EQ(messages.messages()[0].text, "This host (DAW) doesn't support Kestrelhollow \"SYNC\" mode.");
  EXPECT_EQ(messages.messages()[1].text, "This host (DAW) doesn't support Kestrelhollow \"MIDI\" mode.");
}

// Hosts that resume without a block size or without time information are told so, and the
// host (with the user's unsaved work) keeps running.
TEST(HostProperties, ResumeInAnUnsupportedHostWarnsButKeepsTheHostAlive) {
  TestHost::Answers noTime;
  noTime.timeInfo = false;
  for (const bool blockSizeGiven : {false, true}) {
    testhost::MessageCapture messages;
    TestHost host(blockSizeGiven ? noTime : TestHost::Answers{});
    ASSERT_TRUE(host.createInProcess());
    if (blockSizeGiven)
      host.start();
    else
      host.dispatch(vst::effMainsChanged, 0, 1);
    ASSERT_EQ(messages.count("Error"), 1u);
    EXPECT_EQ(messages.messages()[0].text, "This host (DAW) does not support Kestrelhollow");
    EXPECT_EQ(host.process(64).at(23, 63), 0.0f);
  }
  // A host that has both hears nothing, and is asked for time and MIDI.
  testhost::MessageCapture messages;
  TestHost host;
  ASSERT_TRUE(host.createInProcess());
  host.start();
  EXPECT_EQ(messages.messages().size(), 0u);
  ASSERT_FALSE(host.timeInfoFilters.empty());
  EXPECT_EQ(host.timeInfoFilters.back(),
            vst::kVstTransportPlaying | vst::kVstPpqPosValid | vst::kVstTempoValid | vst::kVstBarsValid);
  EXPECT_EQ(host.opcodesAsked.back(), vst::audioMasterWantMidi);
}

}  // namespace
