// The main window: status line with busy indicator, scanner fields with the port logo, the job's
// command buttons, the message area with its disclosure button, version and copyright lines.
//
// The controller fills the message area on the user-interface thread (MainWindowView); the status
// line and scanner fields may be set from any thread (StatusDisplay) and are posted to the
// user-interface thread.
#pragma once

#include "JobChecklistModel.h"
#include "MainWindowView.h"
#include "StatusDisplay.h"

#include <QMainWindow>

#include <functional>
#include <memory>

namespace Ui {
class MainWindow;
}
class ApplicationShell;
class MyApplicationDelegate;

class MainWindow : public QMainWindow, public MainWindowView, public StatusDisplay {
    Q_OBJECT

  public:
    // The height by which the window grows or shrinks with the message area.
    static constexpr int kMessageAreaHeight = 330;

    explicit MainWindow(ApplicationShell& shell, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Connects the buttons to the controller's commands.
    void setDelegate(MyApplicationDelegate* delegate);
    // What the preferences button does; by default it says that the preferences are not there
    // yet (or alert 9002 while a worker runs).
    void setPreferencesAction(std::function<void()> action) { fPreferencesAction = std::move(action); }
    // The developer command "Read Magnetic-Stripe Test File..." (ibPickTestFolder) and the question
    // whether it is shown: only in internal testing mode, asked again whenever the menu bar is
    // refreshed (at start and after the preferences).
    void setDeveloperCommand(std::function<void()> command, std::function<bool()> shown);
    void refreshDeveloperMenu();

    // The job checklist at the top of the window, with the buttons enabled as the job allows (any
    // thread; shown on the user-interface thread).
    void showChecklist(const ChecklistSnapshot& snapshot);
    class JobChecklistView* checklistView() const {
        return fChecklist;
    }

    // MainWindowView, user-interface thread.
    void setErrorViewText(const std::string& text) override;
    void scrollErrorViewToEnd() override;
    void setVersionText(const std::string& text) override;
    void setCopyrightText(const std::string& text) override;
    void setMessageAreaOpen(bool open) override;
    void centreWindow() override;
    void setRescanBusy(bool busy) override;
    void setWorkingFolderText(const std::string& folder) override;

    // StatusDisplay, any thread.
    void setStatusText(const std::string& text) override;
    void setBusy(bool busy) override;
    void setScannerFields(const std::string& model, const std::string& serialNumber,
                          const std::string& portPath) override;
    void setSerialPortImage(const std::string& imageName) override;
    // The port chooser: every serial port with its description; choosing one tells the
    // controller (ibChooseSerialPort), which remembers it.
    void setSerialPortChoices(const std::vector<SerialPortChoice>& ports,
                              const std::string& currentPath) override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private slots:
    void ibToggleDisclosureButton1(bool open);

  private:
    void onUserInterfaceThread(std::function<void()> work);
    void logFrame(const char* heading);
    // Shows path as the chooser's choice; a text that is no port (none found) as its placeholder.
    void showChosenPort(const QString& path);
    void openPreferences();
    void ibPickTestFolder();

    std::unique_ptr<Ui::MainWindow> fUi;
    ApplicationShell& fShell;
    MyApplicationDelegate* fDelegate = nullptr;
    std::function<void()> fPreferencesAction;
    std::function<void()> fDeveloperCommand;
    std::function<bool()> fDeveloperMenuShown;
    class QMenu* fDeveloperMenu = nullptr;
    class JobChecklistView* fChecklist = nullptr;
    void enableButtonsFor(const ChecklistSnapshot& snapshot);
};
