// Alerts as Qt message boxes and the file chooser as a Qt file dialog, shown on the
// user-interface thread while a worker that asks waits for the answer.
#pragma once

#include "AlertPanel.h"

#include <QPointer>
#include <QWidget>

class QtAlertPrompt : public AlertPrompt {
  public:
    explicit QtAlertPrompt(QWidget* parentWindow = nullptr);

    // The window the alerts are centred on (the main window); may change at any time.
    void setParentWindow(QWidget* parentWindow);

    // 1 default button, 0 alternate, -1 other; -2 when no box could be shown or it was closed
    // without a button.
    int runAlert(const AlertPanelContent& content) override;
    // Files only, one at a time, starting in folder; none when the user cancels.
    std::optional<std::string> chooseFile(const std::string& title, const std::string& folder) override;

  private:
    QWidget* dialogParent() const;

    QPointer<QWidget> fParentWindow;
};

// Installs one process-wide QtAlertPrompt for myNSRunAlertPanel and the file chooser (unattended
// mode still answers from VESK_ANSWERS). Call once on the user-interface thread after the
// QApplication exists; a second call only changes the parent window.
QtAlertPrompt* installQtAlertPrompt(QWidget* parentWindow = nullptr);
