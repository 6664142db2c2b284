// The editor's skin: 57 bitmaps, each a file of the skin folder or else the built-in image of
// its resource number, plus the icons that all browser views share. Loaded once, with the
// editor; the scaling steps walk them in table order.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "browser/EntryBitmaps.h"
#include "widgets/CBitmapEx.h"

namespace editor {

// Entries of the skin table by position.
namespace skin {
constexpr size_t kBackground = 0;
constexpr size_t kVersion = 1;
constexpr size_t kMute = 2;
constexpr size_t kSolo = 3;
constexpr size_t kFolder = 4;
constexpr size_t kPreviousSample = 5;
constexpr size_t kNextSample = 6;
constexpr size_t kPlayPreview = 7;
constexpr size_t kPanStrip = 8;
constexpr size_t kVolumeStrip = 9;
constexpr size_t kLengthStrip = 10;
constexpr size_t kSwing = 11;
constexpr size_t kPitchStrip = 12;
constexpr size_t kSwingAmountStrip = 13;
constexpr size_t kMasterLevelStrip = 14;
constexpr size_t kSelectFirst = 15;  // 15..26, holder select buttons 1..12
constexpr size_t kOctave2 = 27;
constexpr size_t kOctave3 = 28;
constexpr size_t kPatternFirst = 29;  // 29..40, pattern buttons 1..12
constexpr size_t kLed = 41;
constexpr size_t kStep = 42;
constexpr size_t kStop = 43;
constexpr size_t kResolution = 44;
constexpr size_t kSequencerMode = 45;
constexpr size_t kStepGroupFirst = 46;  // 46..53, step group buttons 1..8
constexpr size_t kRun = 54;
constexpr size_t kHsync = 55;
constexpr size_t kMidi = 56;
constexpr size_t kCount = 57;
// Images in a knob strip.
constexpr int kKnobImages = 127;
}  // namespace skin

class SkinBitmaps {
 public:
  // skinFolder ends with the path separator.
  explicit SkinBitmaps(const std::string& skinFolder);
  ~SkinBitmaps();
  SkinBitmaps(const SkinBitmaps&) = delete;
  SkinBitmaps& operator=(const SkinBitmaps&) = delete;

  widgets::CBitmapEx* operator[](size_t entry) const { return bitmaps_[entry]; }
  const std::array<widgets::CBitmapEx*, skin::kCount>& all() const { return bitmaps_; }
  // The mute key of a holder muted by a solo (off above on, like "btnMute.bmp"); only a skin
  // may have one, none otherwise.
  static constexpr const char* kMutedBySoloFile = "btnMuteBySolo.bmp";
  widgets::CBitmapEx* mutedBySolo() const { return mutedBySolo_; }
  // Every bitmap that follows the editor's size: the table, then the optional ones.
  std::vector<widgets::CBitmapEx*> scaled() const;
  // The entry icons that every browser view shares (the views load their up button themselves).
  const browser::EntryBitmaps& browserIcons() const { return browserIcons_; }

 private:
  std::array<widgets::CBitmapEx*, skin::kCount> bitmaps_{};
  browser::EntryBitmaps browserIcons_;
  widgets::CBitmapEx* mutedBySolo_ = nullptr;
};

}  // namespace editor
