// How long the message area takes to take in messages when its buffer is full: appends from a
// worker (buffer only) and messages on the user-interface thread (buffer and a rewrite of the
// view). Prints its figures; run with QT_QPA_PLATFORM=offscreen.
#include "ApplicationShell.h"
#include "MainWindow.h"
#include "MessageBuffer.h"
#include "MessageLog.h"
#include "MyApplicationDelegate.h"

#include <QApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

class QuietShell : public ApplicationShell {
  public:
    void requestTerminate() override {}
    void bringToFront() override {}
    void startSequencerTimer() override {}
    bool installHostEventHandlers() override { return false; }
    void playSound(const std::string&) override {}
};

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::string line(79, 'x');
    line += "\r";

    MessageBuffer buffer;
    const int appends = 200000;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < appends; ++i)
        buffer.append(line);
    double bufferTime = millisecondsSince(start);
    std::printf("buffer: %d appends of 80 bytes into a full buffer: %.1f ms (%.2f us each)\n", appends,
                bufferTime, bufferTime * 1000.0 / appends);

    QTemporaryDir logs;
    QuietShell shell;
    MainWindow window(shell);
    window.show();
    ApplicationServices services;
    services.view = &window;
    services.status = &window;
    services.shell = &shell;
    services.logFolder = logs.path().toStdString();
    MyApplicationDelegate delegate(services, BuildInfo());
    delegate.applicationWillFinishLaunching();
    for (size_t filled = 0; filled < MessageBuffer::kLimit; filled += line.size())
        delegate.outputError(line + "\r");
    const int messages = 200;
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < messages; ++i)
        myPrintf("a message on the user-interface thread\n");
    double viewTime = millisecondsSince(start);
    std::printf("view: %d messages on the user-interface thread with a full area: %.1f ms (%.2f ms each)\n",
                messages, viewTime, viewTime / messages);
    delegate.applicationWillTerminate();
    return 0;
}
