// The kit and pattern model: the pan law, a holder's path parts, and the bounds of the pattern
// tables. Copying, clearing and resets are the instrument's rules (tests/instrument).
#include <gtest/gtest.h>

#include "engine/Limits.h"
#include "support/EffectFixture.h"
#include "support/NativePath.h"

namespace {

using engine::kFirstNote;

class Model : public testhost::EffectFixture {
 protected:
  engine::SampleHolder& holder() { return kit().holder(kFirstNote); }
};

TEST_F(Model, PanLawKeepsTheCentreAtFullVolume) {
  struct Case {
    float pan, volume, left, right;
  };
  for (const Case& c : {Case{0.45f, 1.0f, 1.0f, 1.0f}, Case{0.55f, 1.0f, 1.0f, 1.0f}, Case{0.5f, 1.0f, 1.0f, 1.0f},
                        Case{0.2f, 1.0f, 1.0f, 0.4f}, Case{1.0f, 1.0f, 0.0f, 1.0f}, Case{0.0f, 1.0f, 1.0f, 0.0f},
                        Case{0.8f, 0.5f, 0.2f, 0.5f}}) {
    holder().setPan(c.pan);
    holder().setVolume(c.volume);
    EXPECT_FLOAT_EQ(holder().leftGain(), c.left) << c.pan;
    EXPECT_FLOAT_EQ(holder().rightGain(), c.right) << c.pan;
  }
}

TEST_F(Model, FileNameAndFolderParts) {
  holder().setPath(testhost::NativePath("/home/user/Kicks/kick01.wav"));
  EXPECT_EQ(holder().fileNamePart(), "kick01.wav");
  EXPECT_EQ(holder().folderPart(), testhost::NativePath("/home/user/Kicks/"));
}

// Setting, clearing and copying cells are the instrument's rules; out of the model's tables
// nothing is written or read, and only the four resolutions are taken.
TEST_F(Model, NothingOutsideTheTablesOrTheFourResolutionsIsTaken) {
  for (const auto& [pattern, step, holder] : {std::tuple{24, 0, 0}, {0, 128, 0}, {0, 0, 12}, {-1, 0, 0}}) {
    patterns().setCell(1, pattern, step, holder);
  }
  EXPECT_EQ(patterns().getCell(24, 0, 0), 0u);
  patterns().setResolution(4, 64);
  for (int32_t wrong : {0, 15, 17, 100, 129, 256, -16}) patterns().setResolution(4, wrong);
  EXPECT_EQ(patterns().resolution(4), 64);
  patterns().setResolution(30, 32);
  EXPECT_EQ(patterns().resolution(30), engine::kDefaultResolution);
}

}  // namespace
