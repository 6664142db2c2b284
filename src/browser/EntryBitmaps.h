// The icons behind the browser's entry buttons, one per kind of entry. The editor loads them
// once and shares them between all of its browsers; it keeps them alive while any browser
// exists, and each button takes its own reference.
#pragma once

#include "toolkit/CBitmap.h"

namespace browser {

struct EntryBitmaps {
  toolkit::CBitmap* drive = nullptr;
  toolkit::CBitmap* directory = nullptr;
  toolkit::CBitmap* file = nullptr;
};

}  // namespace browser
