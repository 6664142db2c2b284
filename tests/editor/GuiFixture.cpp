#include "GuiFixture.h"

#include "platform/Files.h"
#include "toolkit/COptionMenu.h"

namespace guitest {

std::vector<Automation> GuiFixture::automations;
std::vector<std::pair<int32_t, int32_t>> GuiFixture::edits;

intptr_t GuiFixture::hostCallback(vst::AEffect* /*effect*/, int32_t opcode, int32_t index, intptr_t /*value*/,
                                  void* /*ptr*/, float opt) {
  if (opcode == vst::audioMasterVersion) return 2400;
  if (opcode == vst::audioMasterAutomate) automations.push_back({index, opt});
  if (opcode == vst::audioMasterAutomate || opcode == vst::audioMasterBeginEdit || opcode == vst::audioMasterEndEdit) {
    edits.emplace_back(opcode, index);
  }
  return 0;
}

void GuiFixture::SetUp() {
  automations.clear();
  edits.clear();
  messages = std::make_unique<testhost::MessageCapture>();
  directory = std::make_unique<testhost::TempFolder>();
}

void GuiFixture::createEffect() {
  effect = std::make_unique<plugin::Vst>(&GuiFixture::hostCallback, plugin::EffectEnvironment{directory->path(), {}});
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

std::vector<uint32_t> GuiFixture::renderedPixels(int32_t tag) {
  const toolkit::CRect area = control(tag)->getViewSize();
  gui().mainMenuFrame()->render(area);
  const toolkit::Image& image = gui().mainMenuFrame()->image();
  std::vector<uint32_t> pixels;
  for (int y = static_cast<int>(area.top); y < static_cast<int>(area.bottom); ++y) {
    for (int x = static_cast<int>(area.left); x < static_cast<int>(area.right); ++x) pixels.push_back(image.pixel(x, y));
  }
  return pixels;
}

std::string GuiFixture::savedProject() {
  void* data = nullptr;
  const int32_t size = vst().getChunk(&data, false);
  return {static_cast<const char*>(data), static_cast<size_t>(size)};
}

void GuiFixture::loadProject(std::string text) {
  vst().setChunk(text.data(), static_cast<int32_t>(text.size()), false);
}

std::string GuiFixture::configurationText() const {
  return platform::ReadTextFile(directory->path() + "Kestrelhollow.cfg");
}

}  // namespace guitest
