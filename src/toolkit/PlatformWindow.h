// The contract between a frame and the window of one platform. The frame draws into its own
// image; a window shows parts of that image and feeds its input back to the frame.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Geometry.h"
#include "toolkit/Image.h"

namespace toolkit {

class CFrame;

class PlatformWindow {
 public:
  virtual ~PlatformWindow() = default;

  virtual void setSize(int width, int height) = 0;
  // Copies that part of the frame's image to the screen.
  virtual void present(const Image& image, const CRect& area) = 0;
  // Hands every pending input and expose event to the frame; never waits.
  virtual void processEvents() = 0;
  // Shows the entries as a pop-up list at that frame position and waits for the choice:
  // the chosen index, or -1 when the user dismissed it.
  virtual int32_t popupMenu(const std::vector<std::string>& entries, CPoint whereInFrame) = 0;
  // Takes the keyboard while a text field edits, and gives it back.
  virtual void setKeyboardFocus(bool take) = 0;
  // The platform's handle of the window (an X11 Window id on Linux).
  virtual uintptr_t nativeHandle() const = 0;
};

// A window inside the parent window (the host's); null when no window can be made there.
std::unique_ptr<PlatformWindow> CreatePlatformWindow(CFrame& frame, void* parentWindow);
// Why CreatePlatformWindow can fail, in words for the user (a sentence's end, with its full stop).
std::string WindowFailureReason();

}  // namespace toolkit
