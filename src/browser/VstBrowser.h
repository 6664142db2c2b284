// The panel in which the user picks a sample file for one holder: a toolbar with an up button
// and the line naming the listed folder, above a scrolling grid of entry buttons built from the
// directory model. A file click sets the holder's notification control to 0.5 for a single click
// or 0.51 for a double click, then the panel's listener hears of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "browser/Browser.h"
#include "browser/EntryBitmaps.h"
#include "browser/FileButton.h"
#include "browser/FolderLine.h"
#include "toolkit/CControl.h"
#include "toolkit/CControlListener.h"
#include "toolkit/CFrame.h"
#include "toolkit/CScrollView.h"
#include "toolkit/CViewContainer.h"
#include "widgets/CBitmapEx.h"
#include "widgets/SkinnedKickBtn.h"

namespace browser {

// The panel's place in the editor at its designed size.
inline constexpr toolkit::CRect kBrowserPanelRect{102.0, 176.0, 854.0, 369.0};
// Values the notification control reports.
inline constexpr float kFileClicked = 0.5f;
inline constexpr float kFileDoubleClicked = 0.51f;
// The most entry buttons one level shows.
inline constexpr size_t kMaxButtons = 65536;

// Columns of the grid at a scale in percent.
int ColumnsForScale(int scalePercent);
// The rectangle of the entry button at a column and row of the grid, in the scroll view's
// coordinates; the same at every scale.
toolkit::CRect ButtonRect(int column, int row);

class VstBrowser;

// What a panel tells its editor.
class BrowserListener {
 public:
  virtual ~BrowserListener() = default;
  // A file of the listing was clicked; the panel's selected path is now that file. doubleClick:
  // the second click of a double click (the first one was reported as a click).
  virtual void fileClicked(VstBrowser& panel, bool doubleClick) = 0;
};

// User-interface thread.
class VstBrowser : public toolkit::CViewContainer, public Browser, public toolkit::CControlListener {
 public:
  // The panel starts at the top level, untouched and not yet listed. skinDirectory ends with the
  // path separator; entryBitmaps and the listener (if any) must outlive the panel.
  VstBrowser(const toolkit::CRect& size, toolkit::CFrame* frame, toolkit::CControl* notificationControl,
             const std::string& skinDirectory, const EntryBitmaps& entryBitmaps, BrowserListener* listener);
  ~VstBrowser() override;

  // Lists the level unless the listing is current, then rebuilds the buttons.
  void showListing();
  // One button per entry of the listing, in columns chosen by the scale; highlights the
  // selected file.
  void buildButtons();
  // Gives the button of that name the selected look and scrolls towards it.
  void highlight(const std::string& fileName);
  // Moves to the folder of the path and selects its file, unless the user has clicked in the
  // panel and the move is not forced. A forced move counts as a touch. A move to another folder
  // lists it: at once while the panel is shown, else when it is shown next.
  void navigateTo(const std::string& path, bool force);
  // The full path of the selected file; tells the user when there is none.
  std::string getSelectedPath() const;
  // Step the selection to the next or previous file and return its full path (the same path at
  // the ends of the listing); empty when nothing is selected.
  std::string next();
  std::string previous();
  // Follows the editor's size (factor 1.0 is the designed size).
  void setScale(float factor);

  // The up button and the entry buttons report here.
  void valueChanged(toolkit::CControl* control) override;

  bool isTouched() const { return touched_; }
  const std::string& selectedPath() const { return selectedPath_; }
  int scalePercent() const { return scalePercent_; }
  size_t buttonCount() const { return buttons_.size(); }
  FileButton* button(size_t index) const { return buttons_[index]; }
  FileButton* highlightedButton() const { return highlighted_; }
  toolkit::CScrollView* scrollView() const { return scrollView_; }
  toolkit::CKickButton* upButton() const { return upButton_; }
  const FolderLine* folderLine() const { return folderLine_; }

 private:
  void layOut();
  void replaceScrollView(const toolkit::CRect& rect);
  // The buttons went with their scroll view.
  void forgetButtons();
  void chooseFile(FileButton& button);
  std::string highlightStep(std::string path);

  toolkit::CFrame* frame_;
  toolkit::CControl* notificationControl_;
  BrowserListener* listener_;
  const EntryBitmaps& entryBitmaps_;
  widgets::CBitmapEx* upBitmap_;
  widgets::CBitmapEx* toolbarBitmap_;
  widgets::SkinnedKickBtn* upButton_ = nullptr;
  toolkit::CViewContainer* toolbar_ = nullptr;
  FolderLine* folderLine_ = nullptr;  // held by the toolbar
  toolkit::CScrollView* scrollView_ = nullptr;
  std::vector<FileButton*> buttons_;
  FileButton* highlighted_ = nullptr;
  toolkit::CRect toolbarRect_;
  toolkit::CRect scrollRect_;
  std::string selectedPath_;
  uint8_t scalePercent_ = 100;
  bool touched_ = false;
  bool listingCurrent_ = false;  // the entries are those of the directory
};

}  // namespace browser
