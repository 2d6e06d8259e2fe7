#include "SampleHost.h"

#include "HostEventBus.h"
#include "HostEventsProxy.h"
#include "SampleHostAdaptor.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QElapsedTimer>
#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

namespace {

constexpr FourCharCode kProgramSignature = makeFourCharCode("VBcd");
// How long the program may take to exit after 'qend' or after being asked to end.
constexpr int kProgramExitMilliseconds = 10000;
// How long a 'qend' still in flight is waited for after the program has exited.
constexpr int kLateQuitEndMilliseconds = 1500;

void printLine(const QString& line) {
    std::fprintf(stdout, "%s\n", qPrintable(line));
    std::fflush(stdout);
}

void printNote(const QString& line) {
    std::fprintf(stderr, "vesk-host: %s\n", qPrintable(line));
    std::fflush(stderr);
}

QDBusMessage eventMessage(const QString& eventClass, const QString& eventID, const QVariantMap& parameters) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        HostEventBus::busNameForSignature(kProgramSignature), HostEventBus::kObjectPath,
        HostEventsProxy::staticInterfaceName(), HostEventBus::kEventMethod);
    message << HostEventBus::codeText(kProgramSignature) << eventClass << eventID << parameters;
    message.setAutoStartService(false);
    return message;
}

int outcomeOf(const QString& eventID) {
    if (eventID == "ok02")
        return eSampleHostStatus_EraseSuccess;
    if (eventID == "err1")
        return eSampleHostStatus_MatchFailed;
    if (eventID == "err2")
        return eSampleHostStatus_EraseFailed;
    if (eventID == "err3")
        return eSampleHostStatus_BadSourceFolder;
    if (eventID == "abrt")
        return eSampleHostStatus_UserAbort;
    return -1;
}

QString classForID(const QString& eventID) {
    if (eventID == "cmd1")
        return "cmra";
    return HostEventBus::codeText(kVeskXSignature);
}

} // namespace

SampleHost::SampleHost(QDBusConnection connection, SampleHostOptions options)
    : fConnection(connection), fOptions(std::move(options)) {
    new HostEventsAdaptor(this);
    fProgram.setProcessChannelMode(QProcess::ForwardedChannels);
    fProgram.setInputChannelMode(QProcess::ManagedInputChannel);
    connect(&fProgram, &QProcess::finished, this, [this] { onProgramFinished(); });
    fTimeout.setSingleShot(true);
    connect(&fTimeout, &QTimer::timeout, this, [this] {
        printNote(QString("no 'qend' within %1 s; ending the program").arg(fOptions.timeoutSeconds));
        finish(eSampleHostStatus_Timeout);
    });
}

bool SampleHost::start() {
    QString name = HostEventBus::busNameForSignature(kVeskXSignature);
    if (!fConnection.isConnected() || !fConnection.interface()) {
        printNote("there is no session bus");
        fExitStatus = eSampleHostStatus_NoBusName;
        return false;
    }
    auto reply = fConnection.interface()->registerService(name, QDBusConnectionInterface::DontQueueService,
                                                          QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        printNote("the bus name " + name + " is taken: another host runs");
        fExitStatus = eSampleHostStatus_NoBusName;
        return false;
    }
    if (!fConnection.registerObject(HostEventBus::kObjectPath, this, QDBusConnection::ExportAdaptors)) {
        printNote("could not register " + QString(HostEventBus::kObjectPath));
        fExitStatus = eSampleHostStatus_NoBusName;
        return false;
    }
    fProgram.start(fOptions.program, fOptions.arguments);
    if (!fProgram.waitForStarted(10000)) {
        printNote("could not start " + fOptions.program + ": " + fProgram.errorString());
        fExitStatus = eSampleHostStatus_NotStarted;
        return false;
    }
    if (fOptions.timeoutSeconds > 0)
        fTimeout.start(fOptions.timeoutSeconds * 1000);
    fInput = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(fInput, &QSocketNotifier::activated, this, [this] { readCommandLine(); });
    return true;
}

QVariantMap SampleHost::Event(const QString&, const QString& eventClass, const QString& eventID,
                              const QVariantMap&) {
    printLine("event " + eventClass + " " + eventID);
    int outcome = outcomeOf(eventID);
    if (outcome >= 0)
        fOutcome = outcome;
    if (eventID == "ok01" && fOptions.erase)
        sendToProgram(HostEventBus::codeText(kVeskXSignature), "eras");
    bool endsTheJob = eventID == "err1" || eventID == "err2" || eventID == "err3" || eventID == "abrt";
    if (endsTheJob && fOptions.quit)
        sendToProgram(HostEventBus::codeText(kVeskXSignature), "quit");
    if (eventID == "qend")
        QTimer::singleShot(0, this, [this] { finish(fOutcome); });
    return QVariantMap();
}

bool SampleHost::OpenFile(const QString& path) {
    sendErrorReply(HostEventBus::kErrorNotHandled,
                   "this is the host; only VeskBarcode opens folders (" + path + ")");
    return false;
}

void SampleHost::sendToProgram(const QString& eventClass, const QString& eventID) {
    if (!fConnection.send(eventMessage(eventClass, eventID, QVariantMap())))
        printNote("could not send " + eventClass + " " + eventID + ": " + fConnection.lastError().message());
}

void SampleHost::readCommandLine() {
    char buffer[512];
    ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
    if (got <= 0) {
        fInput->setEnabled(false);
        return;
    }
    fPendingInput.append(buffer, int(got));
    for (int end = fPendingInput.indexOf('\n'); end >= 0; end = fPendingInput.indexOf('\n')) {
        QStringList words = QString::fromUtf8(fPendingInput.left(end)).split(' ', Qt::SkipEmptyParts);
        fPendingInput.remove(0, end + 1);
        if (words.isEmpty())
            continue;
        QString eventID = words.last();
        QString eventClass = words.size() > 1 ? words.first() : classForID(eventID);
        if (!HostEventBus::codeFromText(eventClass) || !HostEventBus::codeFromText(eventID)) {
            printNote("not an event: " + words.join(' '));
            continue;
        }
        sendToProgram(eventClass, eventID);
    }
}

void SampleHost::finish(int status) {
    if (fFinishing)
        return;
    fFinishing = true;
    fTimeout.stop();
    if (fProgram.state() != QProcess::NotRunning) {
        if (status == eSampleHostStatus_Timeout)
            fProgram.terminate();
        // Events still arrive while the program ends (its 'qend' is printed too).
        QElapsedTimer waited;
        waited.start();
        while (!fProgram.waitForFinished(50) && waited.elapsed() < kProgramExitMilliseconds)
            QCoreApplication::processEvents();
        if (fProgram.state() != QProcess::NotRunning) {
            printNote("the program did not end; killing it");
            fProgram.kill();
            fProgram.waitForFinished(kProgramExitMilliseconds);
        }
        QCoreApplication::processEvents();
    }
    fExitStatus = status;
    QCoreApplication::exit(status);
}

void SampleHost::onProgramFinished() {
    if (fFinishing)
        return;
    // A 'qend' sent just before the exit may still be on its way.
    QTimer::singleShot(kLateQuitEndMilliseconds, this, [this] {
        if (fFinishing)
            return;
        printNote(QString("the program ended (status %1) without sending 'qend'").arg(fProgram.exitCode()));
        finish(eSampleHostStatus_EndedWithoutQuitEnd);
    });
}

int sendOneEvent(QDBusConnection connection, const QString& eventClass, const QString& eventID,
                 const QVariantMap& parameters) {
    if (!connection.isConnected()) {
        printNote("there is no session bus");
        return 1;
    }
    // With no host running, this process speaks as the host; otherwise as any other program.
    connection.interface()->registerService(HostEventBus::busNameForSignature(kVeskXSignature),
                                            QDBusConnectionInterface::DontQueueService,
                                            QDBusConnectionInterface::DontAllowReplacement);
    HostEventsProxy program(HostEventBus::busNameForSignature(kProgramSignature), HostEventBus::kObjectPath,
                            connection);
    program.setTimeout(60000);
    QDBusReply<QVariantMap> answer =
        program.Event(HostEventBus::codeText(kProgramSignature), eventClass, eventID, parameters);
    if (!answer.isValid()) {
        printLine("refused " + eventClass + " " + eventID + ": " + answer.error().name() + ": " +
                  answer.error().message());
        return 1;
    }
    printLine("sent " + eventClass + " " + eventID);
    QVariantMap reply = answer.value();
    for (auto entry = reply.begin(); entry != reply.end(); ++entry)
        printLine(entry.key() + " " + entry.value().toString());
    return 0;
}
