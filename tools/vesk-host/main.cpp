// vesk-host: a simple host for trying VeskBarcode out and for tests.
//
//   vesk-host [--no-erase] [--no-quit] [--timeout SECONDS] -- PROGRAM [ARGUMENTS...]
//   vesk-host --send ID [--class CLASS] [--text TEXT] [--comment TEXT]
//
// The first form owns the host's bus name, launches PROGRAM and prints one line "event CLASS ID"
// per event received; lines typed on standard input ("eras", "quit", "QRWz eras") are sent to
// the program as the host. The second sends one event to the running program and prints the
// reply. docs/host-events.md lists the exit statuses.
#include "SampleHost.h"

#include <QCoreApplication>
#include <QDBusConnection>

#include <cstdio>

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: vesk-host [--no-erase] [--no-quit] [--timeout SECONDS] -- PROGRAM [ARGUMENTS...]\n"
                 "       vesk-host --send ID [--class CLASS] [--text TEXT] [--comment TEXT]\n");
    return eSampleHostStatus_Usage;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    SampleHostOptions options;
    QString sendID, sendClass;
    QVariantMap parameters;
    int at = 0;
    for (; at < arguments.size(); ++at) {
        const QString& argument = arguments[at];
        bool hasValue = at + 1 < arguments.size();
        if (argument == "--") {
            ++at;
            break;
        }
        if (argument == "--no-erase") {
            options.erase = false;
            continue;
        }
        if (argument == "--no-quit") {
            options.quit = false;
            continue;
        }
        if (argument == "--timeout" && hasValue) {
            bool ok = false;
            options.timeoutSeconds = arguments[++at].toInt(&ok);
            if (!ok || options.timeoutSeconds <= 0)
                return usage();
            continue;
        }
        if (argument == "--send" && hasValue) {
            sendID = arguments[++at];
            continue;
        }
        if (argument == "--class" && hasValue) {
            sendClass = arguments[++at];
            continue;
        }
        if (argument == "--text" && hasValue) {
            parameters.insert("----", arguments[++at]);
            continue;
        }
        if (argument == "--comment" && hasValue) {
            parameters.insert("cmnt", arguments[++at]);
            continue;
        }
        return usage();
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!sendID.isEmpty()) {
        if (sendClass.isEmpty())
            sendClass = sendID == "cmd1" ? "cmra" : "QRWz";
        if (sendID.size() != 4 || sendClass.size() != 4)
            return usage();
        return sendOneEvent(bus, sendClass, sendID, parameters);
    }
    if (at >= arguments.size())
        return usage();
    options.program = arguments[at];
    options.arguments = arguments.mid(at + 1);
    SampleHost host(bus, options);
    if (!host.start())
        return host.exitStatus();
    return QCoreApplication::exec();
}
