#include "browser/VstBrowser.h"

#include <algorithm>

#include "platform/Folders.h"
#include "platform/Messages.h"

namespace browser {
namespace {

constexpr int32_t kUpButtonTag = 0;
constexpr int32_t kEntryButtonTag = 1;
constexpr double kToolbarHeight = 20.0;
constexpr double kScrollbarWidth = 16.0;
// Room between the folder line and the up button or the toolbar's end.
constexpr double kFolderLineMargin = 6.0;
// Resources of the two bitmaps the panel loads itself.
constexpr int32_t kUpButtonResource = 106;
constexpr int32_t kToolbarResource = 152;

}  // namespace

int ColumnsForScale(int scalePercent) {
  if (scalePercent >= 96) return 5;
  if (scalePercent >= 73) return 4;
  if (scalePercent >= 51) return 3;
  return 5;
}

toolkit::CRect ButtonRect(int column, int row) {
  // The first column is 144 wide, the others 134 with a gap of 10; rows are 15 high.
  const double left = 144.0 * column + 5.0 + (column > 0 ? 10.0 : 0.0);
  return {left, 15.0 * row + 5.0, 144.0 * column + 149.0, 15.0 * row + 20.0};
}

VstBrowser::VstBrowser(const toolkit::CRect& size, toolkit::CFrame* frame, toolkit::CControl* notificationControl,
                       const std::string& skinDirectory, const EntryBitmaps& entryBitmaps, BrowserListener* listener)
    : CViewContainer(size, frame, nullptr),
      frame_(frame),
      notificationControl_(notificationControl),
      listener_(listener),
      entryBitmaps_(entryBitmaps),
      upBitmap_(new widgets::CBitmapEx(kUpButtonResource, skinDirectory + "brwUpDirBg.bmp")),
      toolbarBitmap_(new widgets::CBitmapEx(kToolbarResource, skinDirectory + "BrowserToolbarBg.bmp")),
      toolbarRect_{0.0, 0.0, size.width(), kToolbarHeight},
      scrollRect_{0.0, kToolbarHeight, size.width(), size.height()} {
  // Black behind the grid, so that the editor's controls underneath do not show between buttons.
  setBackgroundColor(toolkit::kBlackCColor);
  replaceScrollView(scrollRect_);
  upButton_ = new widgets::SkinnedKickBtn(0, 0, this, kUpButtonTag, upBitmap_);
  toolbar_ = new toolkit::CViewContainer(toolbarRect_, frame_, toolbarBitmap_);
  folderLine_ = new FolderLine({});
  layOut();
  toolbar_->addView(upButton_);
  toolbar_->addView(folderLine_);
  addView(toolbar_);
}

VstBrowser::~VstBrowser() {
  // The up button and the toolbar hold their own references to the bitmaps.
  upBitmap_->forget();
  toolbarBitmap_->forget();
}

void VstBrowser::layOut() {
  const toolkit::CRect upRect{0.0, 0.0, upBitmap_->getWidth(), upBitmap_->getHeight() / 2.0};
  upButton_->setViewSize(upRect);
  upButton_->setMouseableArea(upRect);
  folderLine_->setViewSize(
      {upRect.right + kFolderLineMargin, 0.0, toolbarRect_.right - kFolderLineMargin, kToolbarHeight});
  setViewSize(kBrowserPanelRect);
  setMouseableArea(kBrowserPanelRect);
  toolbar_->setViewSize(toolbarRect_);
  toolbar_->setMouseableArea(toolbarRect_);
  scrollView_->setViewSize(scrollRect_);
  scrollView_->setMouseableArea(scrollRect_);
}

void VstBrowser::replaceScrollView(const toolkit::CRect& rect) {
  if (scrollView_) removeView(scrollView_);
  scrollView_ = new toolkit::CScrollView(rect, {0.0, 0.0, rect.width(), rect.height()}, frame_,
                                         toolkit::CScrollView::kVerticalScrollbar, kScrollbarWidth);
  toolkit::CScrollbar* scrollbar = scrollView_->getVerticalScrollbar();
  scrollbar->setBackgroundColor(toolkit::kBlackCColor);
  scrollbar->setScrollerColor(toolkit::kGreyCColor);
  addView(scrollView_);
  forgetButtons();
}

void VstBrowser::forgetButtons() {
  buttons_.clear();
  highlighted_ = nullptr;
}

void VstBrowser::showListing() {
  if (!listingCurrent_) {
    listingCurrent_ = true;
    refreshEntries();
  }
  buildButtons();
}

void VstBrowser::buildButtons() {
  scrollView_->removeAll(true);
  forgetButtons();

  const std::vector<std::string>& codes = entries();
  if (codes.size() > kMaxButtons) {
    platform::ShowMessage("Warning", "This folder holds " + std::to_string(codes.size()) +
                                         " entries; the browser shows the first " + std::to_string(kMaxButtons) + ".");
  }
  const size_t count = std::min(codes.size(), kMaxButtons);
  const int columns = ColumnsForScale(scalePercent_);
  buttons_.reserve(count);
  int column = 0;
  int row = 0;
  for (size_t index = 0; index < count; ++index) {
    auto* button = new FileButton(ButtonRect(column, row), this, kEntryButtonTag, codes[index], entryBitmaps_);
    buttons_.push_back(button);
    scrollView_->addView(button);
    if (++column == columns) {
      column = 0;
      ++row;
    }
  }
  scrollView_->setContainerSize({0.0, 0.0, 1000.0, 15.0 * row + 100.0});
  folderLine_->setFolder(atTopLevel() ? platform::TopLevelName() : directory());
  highlight(selectedFile());
  // Drawn at the frame's next pass, in the same idle as the click that led here.
  scrollView_->invalid();
}

void VstBrowser::highlight(const std::string& fileName) {
  if (highlighted_) highlighted_->setNormalLook();
  const auto found =
      std::ranges::find_if(buttons_, [&](const FileButton* button) { return button->getName() == fileName; });
  highlighted_ = found != buttons_.end() ? *found : nullptr;
  if (highlighted_) highlighted_->setSelectedLook();

  // The scroll bar goes to the button's share of the listing; to the top when it is not shown.
  float position = 0.0f;
  if (!buttons_.empty()) {
    position = static_cast<float>(found - buttons_.begin()) / static_cast<float>(buttons_.size());
    if (position >= 1.0f) position = 0.0f;
  }
  scrollView_->getVerticalScrollbar()->setValue(position);
}

void VstBrowser::navigateTo(const std::string& path, bool force) {
  if (!force && touched_) return;
  const std::string listedFolder = directory();
  setPath(path);
  // Only a file is a selection; a folder path selects nothing.
  selectedPath_ = selectedFile().empty() ? std::string{} : directory() + selectedFile();
  if (force) touched_ = true;
  if (listingCurrent_ && directory() != listedFolder) {
    // The grid and the folder line show the new folder together: a click on a button of the
    // old listing would join its name to the new folder. A panel that is not shown lists it
    // when it is (a project load moves every panel; each missing folder would be reported).
    listingCurrent_ = false;
    if (getParentView()) {
      showListing();
      return;
    }
  }
  highlight(selectedFile());
  scrollView_->invalid();
}

std::string VstBrowser::getSelectedPath() const {
  if (selectedPath_.empty()) platform::ShowMessage("Error", "No file has been selected in this directory");
  return selectedPath_;
}

std::string VstBrowser::next() { return highlightStep(selectNext()); }

std::string VstBrowser::previous() { return highlightStep(selectPrevious()); }

std::string VstBrowser::highlightStep(std::string path) {
  // A step leaves the path of the selected file, or nothing.
  if (!path.empty()) highlight(selectedFile());
  return path;
}

void VstBrowser::setScale(float factor) {
  scalePercent_ = static_cast<uint8_t>(std::min<uint16_t>(widgets::CBitmapEx::scaledLength(factor, 100.0), 255));
  upBitmap_->restoreToOriginal();
  toolbarBitmap_->restoreToOriginal();
  layOut();
  upBitmap_->resize(factor);
  toolbarBitmap_->resize(factor);
  upButton_->setHeightOfOneImage(upBitmap_->getHeight() / 2.0);

  const auto scale = [factor](toolkit::CView& view) {
    const toolkit::CRect scaled = view.getViewSize().scaled(factor);
    view.setViewSize(scaled);
    view.setMouseableArea(scaled);
  };
  scale(*upButton_);
  scale(*folderLine_);
  folderLine_->setScale(factor);
  scale(*this);
  scale(*toolbar_);
  // A fresh scroll view at the new size, with the buttons of the current listing built anew.
  replaceScrollView(scrollRect_.scaled(factor));
  buildButtons();
}

void VstBrowser::valueChanged(toolkit::CControl* control) {
  touched_ = true;
  if (control->getTag() == kUpButtonTag) {
    // The kick button reports its press (1) and its release (0); the press goes up.
    if (control->getValue() == 1.0f) {
      goUp();
      buildButtons();
    }
    return;
  }
  auto* button = dynamic_cast<FileButton*>(control);
  if (!button) return;
  switch (button->getType()) {
    case kDriveButton:
    case kDirectoryButton:
      enterDirectory(button->getName());
      buildButtons();
      break;
    case kFileButton:
      chooseFile(*button);
      break;
    default:
      break;
  }
}

void VstBrowser::chooseFile(FileButton& button) {
  if (highlighted_) highlighted_->setNormalLook();
  highlighted_ = &button;
  button.setSelectedLook();
  setSelectedFile(button.getName());
  selectedPath_ = directory() + button.getName();
  if (notificationControl_) notificationControl_->setValue(button.isDoubleClick() ? kFileDoubleClicked : kFileClicked);
  if (listener_) listener_->fileClicked(*this, button.isDoubleClick());
}

}  // namespace browser
