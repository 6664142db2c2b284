// Messages to the user as a small modal window with the text and an OK button, where an X
// display is available; elsewhere they go where they went before.
#pragma once

#include <string>

namespace toolkit {

// Makes platform::ShowMessage use the window. Called once when the plug-in loads.
void InstallMessageWindow();

// Shows the window and returns when the user closed it; false when no display could be opened.
bool ShowMessageWindow(const std::string& caption, const std::string& text);

}  // namespace toolkit
