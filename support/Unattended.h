// Unattended mode: VESK_UNATTENDED=1 answers every question without showing it, from VESK_ANSWERS
// (comma-separated KEY=VALUE pairs: an alert key such as NSAlertWindow_1002, "review" for the code
// that ends the review window, "openpanel" for the path a file chooser returns), else by the
// question's default.
#pragma once

#include "AlertPanel.h"

#include <optional>
#include <string>

bool isUnattended();
// The scripted answer for key, from VESK_ANSWERS.
std::optional<std::string> unattendedAnswer(const std::string& key);

// Answers alerts from VESK_ANSWERS (a value is 1, 0 or -1, or a button's title) or with the
// default button; answers the file chooser from "openpanel" or with a cancel. Every answer is logged
// as if a person had given it.
class UnattendedPrompt : public AlertPrompt {
  public:
    int runAlert(const AlertPanelContent& content) override;
    std::optional<std::string> chooseFile(const std::string& title, const std::string& folder) override;
};
