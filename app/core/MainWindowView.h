// The parts of the main window that the job controller fills in on the user-interface thread:
// the message area, the version and copyright lines, the disclosure state and the rescan
// indicator. (The status line and scanner fields are StatusDisplay, which any thread may use.)
#pragma once

#include <string>

class MainWindowView {
  public:
    virtual ~MainWindowView() = default;
    // Replaces the whole text of the message area (UTF-8, "\n" line breaks).
    virtual void setErrorViewText(const std::string& text) = 0;
    // Scrolls the message area so that its last line shows.
    virtual void scrollErrorViewToEnd() = 0;
    virtual void setVersionText(const std::string& text) = 0;
    virtual void setCopyrightText(const std::string& text) = 0;
    // Sets the disclosure button and the message area to shown or folded (without sound).
    virtual void setMessageAreaOpen(bool open) = 0;
    // Centres the window on the screen.
    virtual void centreWindow() = 0;
    virtual void setRescanBusy(bool busy) = 0;
    // Shows which folder the job works on (display text).
    virtual void setWorkingFolderText(const std::string& folder) = 0;
};
