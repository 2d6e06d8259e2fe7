#include "ShellApplication.h"

#include "DBusHostEvents.h"
#include "MainWindow.h"
#include "MyApplicationDelegate.h"
#include "SoundPlayer.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int gSignalPipe[2] = {-1, -1};

void onTerminationSignal(int) {
    char byte = 1;
    ssize_t written = write(gSignalPipe[1], &byte, 1);
    (void)written;
}

} // namespace

ShellApplication::ShellApplication(DBusHostEvents* hostEvents, const SoundPlayer& sounds)
    : fHostEvents(hostEvents), fSounds(sounds) {
    fTimer.setInterval(kTickMilliseconds);
    connect(&fTimer, &QTimer::timeout, this, [this] {
        if (fDelegate)
            fDelegate->doIdle();
    });
}

ShellApplication::~ShellApplication() = default;

void ShellApplication::requestTerminate() {
    QMetaObject::invokeMethod(
        this, [this] { terminateNow(); }, Qt::QueuedConnection);
}

void ShellApplication::terminateNow() {
    if (!fDelegate || !fDelegate->terminate())
        return;
    fTimer.stop();
    // exit(), not quit(): quit() would first ask the windows to close, which the main window
    // answers with the quit question.
    QCoreApplication::exit(0);
}

void ShellApplication::bringToFront() {
    if (!fWindow)
        return;
    QMetaObject::invokeMethod(
        fWindow,
        [window = fWindow] {
            window->raise();
            window->activateWindow();
        },
        Qt::QueuedConnection);
}

void ShellApplication::startSequencerTimer() {
    fTimer.start();
}

bool ShellApplication::installHostEventHandlers() {
    return fHostEvents && fHostEvents->registerHandlers();
}

void ShellApplication::playSound(const std::string& name) {
    fSounds.play(name);
}

void ShellApplication::installSignalHandlers() {
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, gSignalPipe) != 0)
        return;
    fSignalNotifier = new QSocketNotifier(gSignalPipe[0], QSocketNotifier::Read, this);
    connect(fSignalNotifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        ssize_t got = read(gSignalPipe[0], &byte, 1);
        (void)got;
        if (fDelegate)
            fDelegate->ibQuitApplication();
    });
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}
