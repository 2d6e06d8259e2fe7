// The user of a test: answers each keyed alert with a scripted result (the default button, 1,
// otherwise), remembers every alert it was shown, and answers the file chooser with a cancel.
// Installed with setAlertPrompt; VESK_UNATTENDED must be unset for it to be asked.
#pragma once

#include "AlertPanel.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace testsupport {

class ScriptedAlertPrompt : public AlertPrompt {
  public:
    int runAlert(const AlertPanelContent& content) override;
    std::optional<std::string> chooseFile(const std::string& title, const std::string& folder) override;

    // The answer to the alert key ("NSAlertWindow_9015"): 1, 0 or -1.
    void answer(const std::string& key, int result);
    // The keys of the alerts shown, in order.
    std::vector<std::string> asked() const;
    // Forgets the alerts shown so far (the answers stay).
    void clearAsked();
    // The message of the last alert of key, as shown (placeholders filled); empty when not shown.
    std::string message(const std::string& key) const;
    std::string title(const std::string& key) const;

  private:
    mutable std::mutex fLock;
    std::map<std::string, int> fAnswers;
    std::vector<std::string> fAsked;
    std::map<std::string, AlertPanelContent> fShown;
};

} // namespace testsupport
