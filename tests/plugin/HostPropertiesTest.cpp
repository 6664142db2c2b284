// What a host sees of the plug-in module: entry points, properties, names and capabilities.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <utility>

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

TEST(HostProperties, BothEntryPointsCreateTheEffectWithItsProperties) {
  for (const char* entry : {"VSTPluginMain", "main"}) {
    TestHost host;
    ASSERT_TRUE(host.loadModule(entry)) << entry;
    const vst::AEffect& effect = *host.effect();
    EXPECT_EQ(effect.magic, vst::kEffectMagic);
    // The identifier under which hosts have stored their projects.
    EXPECT_EQ(effect.uniqueID, vst::fourCharCode('k', 's', 'h', 'w'));
    EXPECT_EQ(effect.numOutputs, 24);
    const int32_t required = vst::effFlagsIsSynth | vst::effFlagsProgramChunks | vst::effFlagsCanReplacing;
    EXPECT_EQ(effect.flags & required, required);
    EXPECT_EQ(host.dispatch(vst::effGetVstVersion), 2400);
    EXPECT_EQ(host.dispatch(vst::effGetPlugCategory), vst::kPlugCategSynth);
    EXPECT_EQ(host.dispatch(200), 0) << "an opcode nobody handles";
    EXPECT_EQ(host.dispatch(vst::effEditOpen), 0) << "no editor yet";
  }
  // A host that gives no version gets no effect.
  TestHost::Answers ancient;
  ancient.version = 0;
  EXPECT_FALSE(TestHost(ancient).loadModule());
  EXPECT_FALSE(TestHost(ancient).createInProcess());
}

TEST(HostProperties, NamesFitTheHostsBuffers) {
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
  // A long program name is cut to the 24-byte buffer, never written past it.
  const std::string longName(300, 'x');
  host.dispatch(vst::effSetProgramName, 0, 0, const_cast<char*>(longName.c_str()));
  char guarded[vst::kMaxProgramNameLength + 8];
  std::memset(guarded, '#', sizeof guarded);
  host.dispatch(vst::effGetProgramName, 0, 0, guarded);
  EXPECT_EQ(std::string(guarded), std::string(vst::kMaxProgramNameLength - 1, 'x'));
  EXPECT_EQ(guarded[vst::kMaxProgramNameLength], '#');
  // Only program zero has a name.
  char name[vst::kMaxProgramNameLength] = "untouched";
  EXPECT_EQ(host.dispatch(vst::effGetProgramNameIndexed, 1, 0, name), 0);
  EXPECT_STREQ(name, "untouched");
  host.dispatch(vst::effSetProgramName, 0, 0, const_cast<char*>("Breakbeat"));
  EXPECT_EQ(host.dispatch(vst::effGetProgramNameIndexed, 0, 0, name), 1);
  EXPECT_STREQ(name, "Breakbeat");
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

TEST(HostProperties, OutputPairsAreLabelledByNoteName) {
  TestHost host;
  ASSERT_TRUE(host.loadModule());
  const char* expected[] = {"KHW-C", "KHW-C#", "KHW-D",  "KHW-D#", "KHW-E",  "KHW-F",
                            "KHW-F#", "KHW-G", "KHW-G#", "KHW-A", "KHW-A#", "KHW-B"};
  for (int32_t output = 0; output <= 24; ++output) {
    vst::VstPinProperties pin;
    std::memset(&pin, 0x55, sizeof pin);
    if (output == 24) {  // beyond the last output nothing is written
      EXPECT_EQ(host.dispatch(vst::effGetOutputProperties, output, 0, &pin), 0);
      EXPECT_EQ(pin.label[0], 0x55);
      EXPECT_EQ(host.dispatch(vst::effGetInputProperties, 0, 0, &pin), 0);
      break;
    }
    ASSERT_EQ(host.dispatch(vst::effGetOutputProperties, output, 0, &pin), 1);
    EXPECT_STREQ(pin.label, expected[output / 2]);
    EXPECT_EQ(pin.flags, vst::kVstPinIsActive | vst::kVstPinIsStereo);
    EXPECT_EQ(pin.shortLabel[0], 0x55) << "only the label and the flags are written";
  }
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
    if (blockSizeGiven) host.start();
    else host.dispatch(vst::effMainsChanged, 0, 1);
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

TEST(HostProperties, KeyNumbersOutsideTheirBytesAreNoKeys) {
  TestHost host;
  ASSERT_TRUE(host.loadModule());
  for (const int32_t opcode : {vst::effEditKeyDown, vst::effEditKeyUp}) {
    for (const float modifiers : {-1.0f, 300.0f, std::numeric_limits<float>::quiet_NaN(),
                                  std::numeric_limits<float>::infinity()}) {
      EXPECT_EQ(host.dispatch(opcode, 0, vst::VKEY_UP, nullptr, modifiers), 0) << modifiers;
    }
    EXPECT_EQ(host.dispatch(opcode, 0, -1, nullptr, 0.0f), 0);
    EXPECT_EQ(host.dispatch(opcode, 0, 256 + vst::VKEY_UP, nullptr, 0.0f), 0);
  }
}

}  // namespace
