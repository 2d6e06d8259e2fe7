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

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>

#include <cstdio>

#ifndef VESK_VERSION
#define VESK_VERSION ""
#endif

namespace {

const char kDescription[] =
    "The sample host of VeskBarcode. The first form owns the host's bus name\n"
    "(org.vesk.Signature.QRWz), starts PROGRAM (for instance VeskBarcode FOLDER), prints one line\n"
    "'event CLASS ID' per event received, answers 'ok01' with 'eras' and 'err1', 'err2', 'err3',\n"
    "'abrt' with 'quit', and exits when 'qend' arrives. Each line typed on standard input ('eras',\n"
    "'quit', 'QRWz eras', 'cmd1') is sent to the program as the host. The second form sends one\n"
    "event to the running VeskBarcode and prints its reply.\n"
    "\n"
    "Exit status: 0 the job ended with 'ok02', 1 'err1', 2 'err2', 3 'err3', 4 'abrt', 5 'qend'\n"
    "without an outcome, 6 time-out, 7 the program exited without 'qend', 8 no session bus or\n"
    "another host owns the name, 9 the program could not be started, 64 wrong arguments (2 is\n"
    "taken by 'err2'). With --send: 0 sent, 1 refused or no bus.";

int usageError(const QString& message) {
    std::fprintf(stderr, "vesk-host: %s\nTry 'vesk-host --help' for more information.\n",
                 qPrintable(message));
    return eSampleHostStatus_Usage;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName("vesk-host");
    QCoreApplication::setApplicationVersion(VESK_VERSION);

    QCommandLineParser parser;
    parser.setApplicationDescription(kDescription);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    QCommandLineOption help({"h", "help"}, "Show this help and exit.");
    QCommandLineOption version({"v", "version"}, "Show the version and exit.");
    QCommandLineOption noErase("no-erase", "Do not answer 'ok01' with 'eras'.");
    QCommandLineOption noQuit("no-quit", "Do not answer a failed end with 'quit'.");
    QCommandLineOption timeout("timeout", "End PROGRAM when no 'qend' came within SECONDS (status 6).",
                               "SECONDS");
    QCommandLineOption send("send", "Send one event ID to the running VeskBarcode and print the reply.",
                            "ID");
    QCommandLineOption eventClass("class", "The class of the event sent (default QRWz, cmra for cmd1).",
                                  "CLASS");
    QCommandLineOption text("text", "The event's direct parameter ('----').", "TEXT");
    QCommandLineOption comment("comment", "The event's comment parameter ('cmnt').", "TEXT");
    for (const QCommandLineOption* option :
         {&help, &version, &noErase, &noQuit, &timeout, &send, &eventClass, &text, &comment})
        parser.addOption(*option);
    parser.addPositionalArgument("PROGRAM", "The program to start, after '--', with its arguments.",
                                 "-- PROGRAM [ARGUMENTS...]");
    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        QString usage = parser.helpText();
        usage.replace("Usage: " + QCoreApplication::arguments().constFirst(), "Usage: vesk-host");
        usage.replace(" [options] -- PROGRAM [ARGUMENTS...]",
                      " [--no-erase] [--no-quit] [--timeout SECONDS] -- PROGRAM [ARGUMENTS...]\n"
                      "   or: vesk-host --send ID [--class CLASS] [--text TEXT] [--comment TEXT]");
        std::fputs(qPrintable(usage), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("vesk-host %s\n", VESK_VERSION);
        return 0;
    }

    SampleHostOptions options;
    options.erase = !parser.isSet(noErase);
    options.quit = !parser.isSet(noQuit);
    if (parser.isSet(timeout)) {
        bool ok = false;
        options.timeoutSeconds = parser.value(timeout).toInt(&ok);
        if (!ok || options.timeoutSeconds <= 0)
            return usageError("--timeout needs a whole number of seconds above 0, not '" +
                              parser.value(timeout) + "'");
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (parser.isSet(send)) {
        QString sendID = parser.value(send);
        QString sendClass =
            parser.isSet(eventClass) ? parser.value(eventClass) : (sendID == "cmd1" ? "cmra" : "QRWz");
        if (sendID.size() != 4 || sendClass.size() != 4)
            return usageError("an event's ID and class are four characters each");
        if (!parser.positionalArguments().isEmpty())
            return usageError("--send takes no PROGRAM");
        QVariantMap parameters;
        if (parser.isSet(text))
            parameters.insert("----", parser.value(text));
        if (parser.isSet(comment))
            parameters.insert("cmnt", parser.value(comment));
        return sendOneEvent(bus, sendClass, sendID, parameters);
    }
    QStringList program = parser.positionalArguments();
    if (program.isEmpty())
        return usageError("no PROGRAM to start (vesk-host -- PROGRAM [ARGUMENTS...])");
    options.program = program.first();
    options.arguments = program.mid(1);
    SampleHost host(bus, options);
    if (!host.start())
        return host.exitStatus();
    return QCoreApplication::exec();
}
