// The plug-in module in a host with a display, its factory samples gone: a plug-in scan goes on
// while the messages wait for the user, and they still show, one at a time.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
// clang-format on

#include <chrono>
#include <filesystem>
#include <future>
#include <thread>

#include "XvfbDisplay.h"
#include "platform/DynamicLibrary.h"
#include "support/TempFolder.h"
#include "vst/VstInterface.h"

namespace {

using Entry = vst::AEffect* (*)(vst::HostCallback);

// A host that tells its VST version and nothing else.
intptr_t AnswerVersion(vst::AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
  return opcode == vst::audioMasterVersion ? vst::kVstVersion : 0;
}

TEST(PluginMessages, AScanGoesOnWhileTheMessagesOfMissingSamplesWaitAndTheModuleMayBeUnloaded) {
  if (!testx::XvfbDisplay::available()) GTEST_SKIP() << "Xvfb is not installed";
  testx::XvfbDisplay xvfb;
  ASSERT_TRUE(xvfb.running()) << "Xvfb did not start";
  // The bundle without its samples folder.
  testhost::TempFolder folder;
  const std::filesystem::path bundle = folder.path() + "Kestrelhollow";
  std::filesystem::copy(KH_BUNDLE_DIR, bundle, std::filesystem::copy_options::recursive);
  std::filesystem::remove_all(bundle / "samples");
  const std::string modulePath = (bundle / std::filesystem::path(KH_PLUGIN_PATH).filename()).string();

  platform::LibraryHandle module = platform::OpenLibrary(modulePath);
  ASSERT_NE(module, nullptr) << platform::LibraryError();
  const auto entry = reinterpret_cast<Entry>(platform::FindSymbol(module, "VSTPluginMain"));
  ASSERT_NE(entry, nullptr);
  // The scan: create, open and close the effect, on a thread of the test's.
  auto scan = std::async(std::launch::async, [entry] {
    vst::AEffect* effect = entry(&AnswerVersion);
    if (effect == nullptr) return false;
    effect->dispatcher(effect, vst::effOpen, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, vst::effClose, 0, 0, nullptr, 0.0f);
    return true;
  });
  const auto isSampleMessage = [](const std::string& title) { return title == "Sample load error"; };
  Display* user = xvfb.connection();
  const Window first = testx::WaitForTopWindow(
      user, [&](Window window, const XWindowAttributes&) { return isSampleMessage(testx::WindowTitle(user, window)); },
      30000);
  ASSERT_NE(first, None);
  const bool scanEnded = scan.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
  EXPECT_TRUE(scanEnded) << "the scan waits for the user";
  if (scanEnded) {
    EXPECT_TRUE(scan.get());
    // The host unloads the plug-in while its messages still show.
    platform::CloseLibrary(module);
  }

  size_t mostAtOnce = 0;
  const auto answered = testx::AnswerMessageWindows(user, isSampleMessage, mostAtOnce);
  // Twelve files are missing: three are named, one more message counts the other nine.
  EXPECT_EQ(answered.size(), 4u);
  EXPECT_EQ(mostAtOnce, 1u);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
}

}  // namespace
