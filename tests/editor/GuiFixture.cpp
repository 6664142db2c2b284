#include "GuiFixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/Files.h"
#include "toolkit/COptionMenu.h"

namespace guitest {
namespace {

void Put16(std::ofstream& out, uint16_t value) { out.write(reinterpret_cast<const char*>(&value), 2); }
void Put32(std::ofstream& out, uint32_t value) { out.write(reinterpret_cast<const char*>(&value), 4); }

}  // namespace

std::vector<Automation> GuiFixture::automations;

TemporaryPluginDirectory::TemporaryPluginDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kh-gui-XXXXXX").string();
  path_ = std::string(mkdtemp(pattern.data())) + "/";
}

TemporaryPluginDirectory::~TemporaryPluginDirectory() { std::filesystem::remove_all(path_); }

void WriteBmp(const std::string& path, int width, int height) {
  const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height);
  std::ofstream out(path, std::ios::binary);
  out.write("BM", 2);
  Put32(out, 54 + imageBytes);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);
  Put16(out, 24);
  for (uint32_t field : {0u, imageBytes, 2835u, 2835u, 0u, 0u}) Put32(out, field);
  const std::vector<char> row(rowBytes, static_cast<char>(0x80));
  for (int y = 0; y < height; ++y) out.write(row.data(), rowBytes);
}

void WriteWav(const std::string& path, int frames) {
  const auto dataBytes = static_cast<uint32_t>(frames) * 2;
  std::ofstream out(path, std::ios::binary);
  out.write("RIFF", 4);
  Put32(out, 36 + dataBytes);
  out.write("WAVEfmt ", 8);
  Put32(out, 16);
  Put16(out, 1);
  Put16(out, 1);
  Put32(out, 44100);
  Put32(out, 88200);
  Put16(out, 2);
  Put16(out, 16);
  out.write("data", 4);
  Put32(out, dataBytes);
  for (int frame = 0; frame < frames; ++frame) Put16(out, 8000);
}

intptr_t GuiFixture::HostCallback(vst::AEffect* /*effect*/, int32_t opcode, int32_t index, intptr_t /*value*/,
                                  void* /*ptr*/, float opt) {
  if (opcode == vst::audioMasterVersion) return 2400;
  if (opcode == vst::audioMasterAutomate) automations.push_back({index, opt});
  return 0;
}

void GuiFixture::SetUp() {
  automations.clear();
  messages = std::make_unique<testhost::MessageCapture>();
  directory = std::make_unique<TemporaryPluginDirectory>();
}

void GuiFixture::CreateEffect() {
  effect = std::make_unique<plugin::Vst>(&GuiFixture::HostCallback, plugin::EffectEnvironment{directory->path(), {}});
}

void GuiFixture::TearDown() {
  effect.reset();
  directory.reset();
  messages.reset();
}

void GuiFixture::change(int32_t tag, float newValue) {
  control(tag)->setValue(newValue);
  gui().valueChanged(control(tag));
}

void GuiFixture::choose(int32_t menuTag, int32_t entry) {
  auto* menu = static_cast<toolkit::COptionMenu*>(control(menuTag));
  ASSERT_TRUE(menu->setCurrent(entry));
  gui().valueChanged(menu);
}

std::string GuiFixture::configurationText() const {
  return platform::ReadTextFile(directory->path() + "Kestrelhollow.cfg");
}

}  // namespace guitest
