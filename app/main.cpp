// VeskBarcode: started by the host on a working folder ("VeskBarcode FOLDER"), it runs one job
// and ends. A second start while one runs hands its folder to the running instance over the
// session bus and exits.
#include "AlertPanel.h"
#include "DBusHostEvents.h"
#include "MainWindow.h"
#include "MessageLog.h"
#include "MyApplicationDelegate.h"
#include "Preferences.h"
#include "RunningThread.h"
#include "ShellApplication.h"
#include "SoundPlayer.h"
#include "VeskJobOperations.h"

#include <QApplication>
#include <QDBusConnection>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

#ifndef VESK_VERSION
#define VESK_VERSION ""
#endif
#ifndef VESK_COPYRIGHT
#define VESK_COPYRIGHT ""
#endif

namespace {

// The prompt that shows alerts and file choosers. Until the message-box prompt is installed here,
// every question is answered like an unattended run (scripted answers or the default button).
// In unattended mode (VESK_UNATTENDED=1) the unattended prompt answers whatever is installed.
void installAlertPrompt() {
    // setAlertPrompt(&qtAlertPrompt);   <- the Qt message-box prompt goes here
}

// The per-user preference store with its factory defaults. Until the Qt store is installed here,
// every preference getter returns its type's empty value.
void installPreferenceStore() {
    // setPreferenceStore(&qtPreferenceStore);   <- the Qt preference store goes here
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("VeskBarcode");
    QApplication::setApplicationVersion(VESK_VERSION);
    QApplication::setQuitOnLastWindowClosed(false);
    const char* folder = argc > 1 ? argv[1] : nullptr;

    // One instance per session: a second start hands its folder over before it touches the log.
    DBusHostEvents hostEvents(QDBusConnection::sessionBus());
    DBusHostEvents::Claim claim = hostEvents.claimBusName();
    if (claim == DBusHostEvents::Claim::TakenByAnother)
        return hostEvents.handOff(folder);

    SoundPlayer sounds;
    ShellApplication shell(&hostEvents, sounds);
    MainWindow window(shell);
    shell.setWindow(&window);

    installAlertPrompt();
    installPreferenceStore();
    static VeskJobOperations operations;

    ApplicationServices services;
    services.hostEvents = claim == DBusHostEvents::Claim::Owned ? &hostEvents : nullptr;
    services.status = &window;
    services.view = &window;
    services.shell = &shell;
    services.operations = &operations;
    BuildInfo build;
    build.version = VESK_VERSION;
    build.copyright = VESK_COPYRIGHT;
    MyApplicationDelegate delegate(services, build);
    shell.setDelegate(&delegate);
    hostEvents.setDelegate(&delegate);
    window.setDelegate(&delegate);
    shell.installSignalHandlers();

    delegate.applicationWillFinishLaunching();
    if (claim == DBusHostEvents::Claim::NoBus)
        myPrintf("No session bus: events to and from Vesk-X are not possible in this run\n");
    if (argc > 2)
        myPrintf(myFormat("Only the first folder is used; %d further argument(s) ignored\n", argc - 2).c_str());
    window.show();
    QTimer::singleShot(0, &window, [&delegate, folder] {
        delegate.applicationDidFinishLaunching();
        if (folder)
            delegate.applicationOpenFile(folder);
        else
            delegate.applicationOpenUntitledFile();
    });
    int status = QApplication::exec();
    std::fflush(stdout);
    std::fflush(stderr);
    // A worker that the user chose not to wait for must not run into the teardown of the process.
    if (isRunningThread())
        _exit(status);
    return status;
}
