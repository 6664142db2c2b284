// The built module in a host's window on Windows (under Wine): a click on a step button, and a
// drag that sets its velocity, sent as the system's mouse input, are in the project the host then
// saves.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>

#include "editor/ControlTags.h"
#include "editor/Gui.h"
#include "engine/Limits.h"
#include "persistence/Text.h"
#include "plugin/Vst.h"
#include "support/TestHost.h"

namespace {

using testhost::TestHost;

constexpr char kHostClass[] = "KestrelhollowTestHost";
// The fifth step button: pattern 1, first holder, first step group when the editor opens.
constexpr int kStep = 4;

// The top-level window a host gives the editor.
HWND CreateHostWindow() {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = ::DefWindowProcA;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kHostClass;
  ::RegisterClassExA(&windowClass);
  return ::CreateWindowExA(0, kHostClass, "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1300, 700, nullptr, nullptr,
                           ::GetModuleHandleA(nullptr), nullptr);
}

// The host's message loop between its idle calls, until done() holds or the time is up.
bool IdleUntil(TestHost& host, const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
    host.dispatch(vst::effEditIdle);
    ::Sleep(10);
  }
  return true;
}

// The tested step's field in the saved project's record of the first holder in pattern 1, whose
// steps start at field first: "seq1" (pattern;note;resolution;cells) or "vel1"
// (pattern;note;velocities). Empty without the record.
std::string StepField(const std::string& project, std::string_view record, size_t first) {
  for (std::string_view line : persistence::Lines(project)) {
    const auto fields = persistence::SplitText(line, ';', first + engine::kMaxSteps);
    if (fields.size() > first + kStep && fields[0] == record && fields[1] == "0" &&
        fields[2] == std::to_string(engine::kFirstNote)) {
      return std::string(fields[first + kStep]);
    }
  }
  return {};
}

bool StepIsSet(const std::string& project) { return StepField(project, "seq1", 4) == "1"; }

// 127 without a "vel1" record.
int StepVelocity(const std::string& project) {
  const std::string velocity = StepField(project, "vel1", 3);
  return velocity.empty() ? 127 : std::stoi(velocity);
}

// One mouse input at a point of the screen, as the system's absolute coordinates.
void SendMouse(DWORD flags, POINT where) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(where.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(where.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  ASSERT_EQ(::SendInput(1, &input, sizeof input), 1u);
}

TEST(GuiInHostWindow, AClickOnAStepButtonIsInTheSavedProject) {
  // The module in a folder of its own at 80 %, in the build tree: a loaded module's file cannot
  // be removed, and the module stays loaded until the process ends.
  const std::string folder = KH_HOST_WINDOW_FOLDER;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::string module = folder + "Kestrelhollow.dll";
  std::filesystem::copy_file(KH_PLUGIN_PATH, module);
  std::ofstream(folder + "Kestrelhollow.cfg") << "0.8";

  // Where the step button is: the editor's own layout, opened offscreen at the same scale.
  toolkit::CRect step;
  {
    TestHost layout;
    ASSERT_TRUE(layout.createInFolder(folder));
    auto& gui = static_cast<editor::Gui&>(layout.object<plugin::Vst>().editorLink());
    gui.openOffscreen();
    ASSERT_EQ(gui.scale(), 0.8f);
    step = gui.controls()[editor::tags::kStepButton + kStep]->getViewSize();
    gui.close();
  }

  const HWND parent = CreateHostWindow();
  ASSERT_NE(parent, nullptr) << "no window: the test needs an X display under Wine";
  TestHost host;
  ASSERT_TRUE(host.loadModule("VSTPluginMain", module));
  ASSERT_EQ(host.dispatch(vst::effEditOpen, 0, 0, parent), 1);
  const HWND editor = ::GetWindow(parent, GW_CHILD);
  ASSERT_NE(editor, nullptr);
  EXPECT_FALSE(StepIsSet(host.savedProject()));

  // The user's click as the system's input: the system finds the window under the pointer.
  POINT where{static_cast<LONG>(step.left + step.width() / 2), static_cast<LONG>(step.top + step.height() / 2)};
  ::ClientToScreen(editor, &where);
  ASSERT_TRUE(::SetCursorPos(where.x, where.y));
  INPUT click[2]{};
  click[0].type = click[1].type = INPUT_MOUSE;
  click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ASSERT_EQ(::SendInput(2, click, sizeof(INPUT)), 2u);
  EXPECT_TRUE(IdleUntil(host, [&] { return StepIsSet(host.savedProject()); }));

  // A drag down on the lit step makes it softer; the system delivers the moves while the button is held.
  const auto velocity = [&] { return StepVelocity(host.savedProject()); };
  const auto pump = [&] {
    int rounds = 0;
    IdleUntil(host, [&] { return ++rounds > 5; });
  };
  SendMouse(MOUSEEVENTF_LEFTDOWN, where);
  pump();
  for (int down = 10; down <= 40; down += 10) {
    SendMouse(0, {where.x, where.y + down});
    pump();
  }
  SendMouse(MOUSEEVENTF_LEFTUP, {where.x, where.y + 40});
  EXPECT_TRUE(IdleUntil(host, [&] { return velocity() < 127; }));
  EXPECT_TRUE(StepIsSet(host.savedProject())) << "a drag does not switch the step off";

  host.dispatch(vst::effEditClose);
  EXPECT_FALSE(::IsWindow(editor));
  host.closeEffect();
  ::DestroyWindow(parent);
}

}  // namespace
