#include "editor/SkinBitmaps.h"

#include <cstdint>

#include "platform/Files.h"

namespace editor {
namespace {

struct SkinEntry {
  const char* fileName;
  int32_t resourceId;
};

constexpr std::array<SkinEntry, skin::kCount> kSkinTable{{
    {"Background.bmp", 101},
    {"version.bmp", 150},
    {"btnMute.bmp", 113},
    {"btnSolo.bmp", 148},
    {"btnFolder.bmp", 108},
    {"btnPrevSample.bmp", 118},
    {"btnNextSample.bmp", 114},
    {"btnPlayPreview.bmp", 153},
    {"ampLevelKnob.bmp", 102},
    {"ampLevelKnob.bmp", 102},
    {"ampLevelKnob.bmp", 102},
    {"btnSwing.bmp", 154},
    // Without its own file the pitch row shows the level knob's built-in strip.
    {"pitchLevelKnob.bmp", 102},
    {"ampLevelKnob.bmp", 102},
    {"ampLevelKnob.bmp", 102},
    {"btnSel1.bmp", 134},
    {"btnSel2.bmp", 135},
    {"btnSel3.bmp", 136},
    {"btnSel4.bmp", 137},
    {"btnSel5.bmp", 138},
    {"btnSel6.bmp", 139},
    {"btnSel7.bmp", 140},
    {"btnSel8.bmp", 141},
    {"btnSel9.bmp", 142},
    {"btnSel10.bmp", 143},
    {"btnSel11.bmp", 144},
    {"btnSel12.bmp", 145},
    {"btnPtnOct2.bmp", 131},
    {"btnPtnOct3.bmp", 132},
    {"btnPtn1.bmp", 119},
    {"btnPtn2.bmp", 120},
    {"btnPtn3.bmp", 121},
    {"btnPtn4.bmp", 122},
    {"btnPtn5.bmp", 123},
    {"btnPtn6.bmp", 124},
    {"btnPtn7.bmp", 125},
    {"btnPtn8.bmp", 126},
    {"btnPtn9.bmp", 127},
    {"btnPtn10.bmp", 128},
    {"btnPtn11.bmp", 129},
    {"btnPtn12.bmp", 130},
    {"btnLed.bmp", 110},
    {"btnSeq.bmp", 147},
    {"btnStop.bmp", 149},
    {"btnResolution.bmp", 155},
    {"btnSequencerMode.bmp", 157},
    {"btnSeqGroupNrs-1-16.bmp", 158},
    {"btnSeqGroupNrs-17-32.bmp", 159},
    {"btnSeqGroupNrs-33-48.bmp", 160},
    {"btnSeqGroupNrs-49-64.bmp", 161},
    {"btnSeqGroupNrs-65-80.bmp", 162},
    {"btnSeqGroupNrs-81-96.bmp", 163},
    {"btnSeqGroupNrs-97-112.bmp", 164},
    {"btnSeqGroupNrs-113-128.bmp", 165},
    {"btnRun.bmp", 133},
    {"btnHSync.bmp", 109},
    {"btnMidi.bmp", 112},
}};

// A bitmap that only a skin file can give.
constexpr int32_t kNoResource = 0;

}  // namespace

SkinBitmaps::SkinBitmaps(const std::string& skinFolder) {
  for (size_t entry = 0; entry < skin::kCount; ++entry) {
    bitmaps_[entry] = new widgets::CBitmapEx(kSkinTable[entry].resourceId, skinFolder + kSkinTable[entry].fileName);
  }
  browserIcons_.drive = new widgets::CBitmapEx(104, skinFolder + "brwDrvBg.bmp");
  browserIcons_.directory = new widgets::CBitmapEx(103, skinFolder + "brwDirBg.bmp");
  browserIcons_.file = new widgets::CBitmapEx(105, skinFolder + "brwFileBg.bmp");
  // Only a skin file: the built-in look of a holder muted by a solo is its lit mute key dimmed.
  const std::string mutedBySolo = skinFolder + kMutedBySoloFile;
  if (platform::FileExists(mutedBySolo)) mutedBySolo_ = new widgets::CBitmapEx(kNoResource, mutedBySolo);
}

std::vector<widgets::CBitmapEx*> SkinBitmaps::scaled() const {
  std::vector<widgets::CBitmapEx*> bitmaps(bitmaps_.begin(), bitmaps_.end());
  if (mutedBySolo_) bitmaps.push_back(mutedBySolo_);
  return bitmaps;
}

SkinBitmaps::~SkinBitmaps() {
  // Controls that still show a bitmap keep their own reference to it.
  for (widgets::CBitmapEx* bitmap : bitmaps_) bitmap->forget();
  if (mutedBySolo_) mutedBySolo_->forget();
  for (toolkit::CBitmap* icon : {browserIcons_.drive, browserIcons_.directory, browserIcons_.file}) icon->forget();
}

}  // namespace editor
