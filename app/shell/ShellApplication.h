// The platform side of the controller: the half-second tick, the orderly end of the event loop,
// bringing the window forward, host-event registration, sounds, and termination signals.
#pragma once

#include "ApplicationShell.h"

#include <QObject>
#include <QTimer>

class DBusHostEvents;
class MainWindow;
class MyApplicationDelegate;
class QSocketNotifier;
class SoundPlayer;

class ShellApplication : public QObject, public ApplicationShell {
    Q_OBJECT

  public:
    // The tick's period.
    static constexpr int kTickMilliseconds = 500;

    ShellApplication(DBusHostEvents* hostEvents, const SoundPlayer& sounds);
    ~ShellApplication() override;
    void setDelegate(MyApplicationDelegate* delegate) { fDelegate = delegate; }
    void setWindow(MainWindow* window) { fWindow = window; }

    void requestTerminate() override;
    void bringToFront() override;
    void startSequencerTimer() override;
    bool installHostEventHandlers() override;
    void playSound(const std::string& name) override;

    // SIGTERM, SIGINT and SIGHUP ask for the orderly end, as the quit command does.
    void installSignalHandlers();

  private:
    void terminateNow();

    MainWindow* fWindow = nullptr;
    DBusHostEvents* fHostEvents;
    const SoundPlayer& fSounds;
    MyApplicationDelegate* fDelegate = nullptr;
    QTimer fTimer;
    QSocketNotifier* fSignalNotifier = nullptr;
};
