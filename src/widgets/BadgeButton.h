// An on/off button with a menu that can carry a short badge (a few letters, such as a holder's
// choke group "C1") at its right end: light letters on a dark box, readable over any skin's key
// at every editor size. No badge draws the button as it is.
#pragma once

#include <string>

#include "widgets/OnOffBtnWithMenu.h"

namespace widgets {

class BadgeButton : public OnOffBtnWithMenu {
 public:
  using OnOffBtnWithMenu::OnOffBtnWithMenu;

  // Empty: no badge. Redraws when it changes.
  void setBadge(std::string badge);
  const std::string& badge() const { return badge_; }

  void draw(toolkit::CDrawContext& context) override;

 private:
  std::string badge_;
};

}  // namespace widgets
