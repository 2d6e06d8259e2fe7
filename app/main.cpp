// VeskBarcode: started by the host on a working folder ("VeskBarcode FOLDER"), it runs one job
// and ends. A second start while one runs hands its folder to the running instance over the
// session bus and exits.
#include "AlertPanel.h"
#include "AppCommandLine.h"
#include "Clock.h"
#include "DBusHostEvents.h"
#include "GeneralPreferencesDialog.h"
#include "JobChecklistModel.h"
#include "JobChecklistView.h"
#include "JobEndNotifier.h"
#include "MagStripeTestReader.h"
#include "MainWindow.h"
#include "MessageLog.h"
#include "MyApplicationDelegate.h"
#include "Preferences.h"
#include "QtAlertPrompt.h"
#include "QtPreferenceStore.h"
#include "QtReviewPrompt.h"
#include "QtTranslations.h"
#include "RunningThread.h"
#include "ScaledClock.h"
#include "ShellApplication.h"
#include "SoundPlayer.h"
#include "VeskJobSteps.h"

#include <QApplication>
#include <QDBusConnection>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <unistd.h>

#ifndef VESK_VERSION
#define VESK_VERSION ""
#endif
#ifndef VESK_COPYRIGHT
#define VESK_COPYRIGHT ""
#endif

namespace {

// Alerts as message boxes and the file chooser as a file dialog, centred on the main window. In
// unattended mode (VESK_UNATTENDED=1) the unattended prompt answers whatever is installed.
void installAlertPrompt(QWidget* mainWindow) {
    installQtAlertPrompt(mainWindow);
}

// The per-user preference store (QSettings under $XDG_CONFIG_HOME/VeskBarcode/) with its factory
// defaults registered.
void installPreferenceStore() {
    installQtPreferenceStore();
}

// VESK_CLOCK_SPEEDUP=N (N > 1) runs every pause and deadline of the program N times faster than
// real time: for tests and demos of a scanner that never answers, whose connection attempts would
// otherwise take four minutes. Unset, the program keeps real time.
void installClock() {
    const char* text = std::getenv("VESK_CLOCK_SPEEDUP");
    if (!text || !*text)
        return;
    char* end = nullptr;
    double factor = std::strtod(text, &end);
    if (*end != '\0' || !(factor > 1.0) || factor > 1000.0) {
        std::fprintf(stderr, "VeskBarcode: VESK_CLOCK_SPEEDUP=%s ignored (a number above 1, at most 1000)\n",
                     text);
        return;
    }
    static ScaledClock clock(factor);
    setProcessClock(&clock);
}

} // namespace

int main(int argc, char** argv) {
    QApplication::setApplicationName("VeskBarcode");
    QApplication::setApplicationVersion(VESK_VERSION);
    // --help and --version are answered before the application object needs a display.
    if (std::optional<int> status = AppCommandLine::answerHelpOrVersion(argc, argv))
        return *status;
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // The language of the desktop's list that the program carries, before the first window.
    installTranslations();
    AppCommandLine commandLine;
    if (!commandLine.parse(QApplication::arguments()))
        return commandLine.exitStatus();
    const QByteArray folderPath = commandLine.folder();
    const char* folder = commandLine.hasFolder() ? folderPath.constData() : nullptr;

    // One instance per session: a second start hands its folder over before it touches the log.
    DBusHostEvents hostEvents(QDBusConnection::sessionBus());
    DBusHostEvents::Claim claim = hostEvents.claimBusName();
    if (claim == DBusHostEvents::Claim::TakenByAnother)
        return hostEvents.handOff(folder);

    SoundPlayer sounds;
    ShellApplication shell(&hostEvents, sounds);
    MainWindow window(shell);
    shell.setWindow(&window);

    installClock();
    installAlertPrompt(&window);
    installPreferenceStore();
    window.setPreferencesAction([&window] { openPreferencesDialog(&window); });
    window.setDeveloperCommand([] { doTestMagReader(); },
                               [] { return GeneralPreferencesController::getDoEnableInternalTestingMode(); });
    // One review window for the program, kept across matches, shown on the main window.
    static QtReviewPrompt review(&window);
    // The job checklist: the steps report to the model, the window shows it.
    static JobChecklistModel checklist;
    checklist.setChangeHandler([&window] { window.showChecklist(checklist.snapshot()); });
    static VeskJobSteps steps(&review, &checklist);

    ApplicationServices services;
    services.hostEvents = claim == DBusHostEvents::Claim::Owned ? &hostEvents : nullptr;
    services.status = &window;
    services.view = &window;
    services.shell = &shell;
    services.steps = &steps;
    // The end of a job goes to the log and to the desktop's notifications; a program that ran no
    // step (started without a folder) says nothing.
    services.hostConfirmed = [] { checklist.setStepState(eJobStep_HostConfirm, eStepState::Done); };
    services.beforeExit = [] {
        const ChecklistSnapshot snapshot = checklist.snapshot();
        if (snapshot.line(eJobStep_Photos).state == eStepState::Waiting &&
            snapshot.line(eJobStep_Scanner).state == eStepState::Waiting &&
            snapshot.line(eJobStep_Match).state == eStepState::Waiting)
            return;
        const QString outcome = JobChecklistView::outcomeText(snapshot);
        myPrintf("Job ended: " + outcome.toStdString() + "\n");
        JobEndNotifier(QDBusConnection::sessionBus())
            .notify(JobChecklistView::tr("VeskBarcode: job ended"), outcome);
    };
    BuildInfo build;
    build.version = VESK_VERSION;
    build.copyright = VESK_COPYRIGHT;
    MyApplicationDelegate delegate(services, build);
    shell.setDelegate(&delegate);
    hostEvents.setDelegate(&delegate);
    hostEvents.watchHost(&delegate);
    window.setDelegate(&delegate);
    shell.installSignalHandlers();

    delegate.applicationWillFinishLaunching();
    if (claim == DBusHostEvents::Claim::NoBus)
        myPrintf("No session bus: events to and from Vesk-X are not possible in this run\n");
    if (commandLine.ignoredArguments() > 0)
        myPrintf(myFormat("Only the first folder is used; %d further argument(s) ignored\n",
                          commandLine.ignoredArguments()));
    window.show();
    QTimer::singleShot(0, &window, [&delegate, folder] {
        delegate.applicationDidFinishLaunching();
        if (folder)
            delegate.applicationOpenFile(folder);
        else
            delegate.applicationOpenUntitledFile();
    });
    // An end asked for before the main loop (SIGTERM while the launch's port search shows "No
    // serial port found", whose alert runs its own event loop) has already sent 'qend' and asked
    // the loops to end; QApplication::exec would start afresh and, the end being taken once,
    // never return.
    int status = delegate.hasTerminated() ? 0 : QApplication::exec();
    hostEvents.flush();
    std::fflush(stdout);
    std::fflush(stderr);
    // A worker that the user chose not to wait for must not run into the teardown of the process.
    if (isRunningThread())
        _exit(status);
    return status;
}
