#include "DBusHostEvents.h"

#include "HostEventBus.h"
#include "HostEventsAdaptor.h"
#include "HostEventsProxy.h"
#include "HostPresence.h"
#include "MessageLog.h"
#include "MyApplicationDelegate.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusServiceWatcher>

#include <cstdio>

namespace {

// How long a send may wait for the bus to say whether the receiver is there.
constexpr int kOwnerQueryMilliseconds = 1000;
// How long a second start waits for the running instance to answer its hand-off.
constexpr int kHandOffMilliseconds = 30000;

} // namespace

DBusHostEvents::DBusHostEvents(QDBusConnection connection, QObject* parent)
    : QObject(parent), fConnection(connection),
      fOwnName(HostEventBus::busNameForSignature(kVeskBarcodeSignature)) {
    // The adaptor belongs to this object and forwards the bus's calls to Event and OpenFile.
    new HostEventsAdaptor(this);
}

DBusHostEvents::Claim DBusHostEvents::claimBusName() {
    if (!fConnection.isConnected() || !fConnection.interface())
        return Claim::NoBus;
    QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        fConnection.interface()->registerService(fOwnName, QDBusConnectionInterface::DontQueueService,
                                                 QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid())
        return Claim::NoBus;
    if (reply.value() == QDBusConnectionInterface::ServiceRegistered)
        return Claim::Owned;
    return Claim::TakenByAnother;
}

int DBusHostEvents::handOff(const char* folder) {
    if (!folder) {
        std::fprintf(stdout,
                     "VeskBarcode is already running (bus name %s); there is no folder to hand over.\n",
                     qPrintable(fOwnName));
        return 0;
    }
    HostEventsProxy runningInstance(fOwnName, HostEventBus::kObjectPath, fConnection);
    runningInstance.setTimeout(kHandOffMilliseconds);
    QDBusReply<bool> answer = runningInstance.OpenFile(QString::fromUtf8(folder));
    if (!answer.isValid()) {
        std::fprintf(stderr, "Could not hand the folder %s to the running VeskBarcode: %s\n", folder,
                     qPrintable(answer.error().message()));
        return 2;
    }
    if (answer.value()) {
        std::fprintf(stdout, "The running VeskBarcode accepted the folder %s\n", folder);
        return 0;
    }
    std::fprintf(stdout, "The running VeskBarcode refused the folder %s (it runs one job only)\n", folder);
    return 1;
}

bool DBusHostEvents::registerHandlers() {
    if (!fConnection.isConnected())
        return false;
    return fConnection.registerObject(HostEventBus::kObjectPath, this, QDBusConnection::ExportAdaptors);
}

void DBusHostEvents::watchHost(HostPresence* presence) {
    if (!fConnection.isConnected() || !presence || fHostWatcher)
        return;
    fHostWatcher = new QDBusServiceWatcher(HostEventBus::busNameForSignature(kVeskXSignature), fConnection,
                                           QDBusServiceWatcher::WatchForUnregistration, this);
    connect(fHostWatcher, &QDBusServiceWatcher::serviceUnregistered, this,
            [presence](const QString&) { presence->hostDidQuit(); });
}

bool DBusHostEvents::sendEvent(FourCharCode signature, FourCharCode eventClass, FourCharCode eventID) {
    QString receiver = HostEventBus::busNameForSignature(signature);
    std::string event = fourCharCodeText(eventClass) + " " + fourCharCodeText(eventID);
    if (!fConnection.isConnected()) {
        myPrintfDebug("Host event " + event + " not sent: there is no session bus\n");
        return false;
    }
    QDBusMessage ask = QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                      "org.freedesktop.DBus", "NameHasOwner");
    ask << receiver;
    QDBusMessage owner = fConnection.call(ask, QDBus::Block, kOwnerQueryMilliseconds);
    if (owner.type() != QDBusMessage::ReplyMessage || owner.arguments().isEmpty() ||
        !owner.arguments().first().toBool()) {
        myPrintfDebug("Host event " + event + " not delivered: " + receiver.toStdString() +
                      " is not on the session bus\n");
        return false;
    }
    QDBusMessage message =
        QDBusMessage::createMethodCall(receiver, HostEventBus::kObjectPath,
                                       HostEventsProxy::staticInterfaceName(), HostEventBus::kEventMethod);
    message << HostEventBus::codeText(signature) << HostEventBus::codeText(eventClass)
            << HostEventBus::codeText(eventID) << QVariantMap();
    message.setAutoStartService(false);
    // send() marks a method call as expecting no reply: nobody waits for the host.
    if (!fConnection.send(message)) {
        myPrintfDebug("Host event " + event +
                      " not sent: " + fConnection.lastError().message().toStdString() + "\n");
        return false;
    }
    return true;
}

void DBusHostEvents::flush() {
    if (!fConnection.isConnected())
        return;
    // Messages leave in order, so the answer to this call comes after the events before it.
    QDBusMessage ping = QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                       "org.freedesktop.DBus.Peer", "Ping");
    fConnection.call(ping, QDBus::Block, kOwnerQueryMilliseconds);
}

bool DBusHostEvents::senderOwnsHostName() {
    QDBusReply<QString> owner =
        connection().interface()->serviceOwner(HostEventBus::busNameForSignature(kVeskXSignature));
    return owner.isValid() && !owner.value().isEmpty() && owner.value() == message().service();
}

QVariantMap DBusHostEvents::Event(const QString& target, const QString& eventClass, const QString& eventID,
                                  const QVariantMap& parameters) {
    std::optional<FourCharCode> targetCode = HostEventBus::codeFromText(target);
    std::optional<FourCharCode> classCode = HostEventBus::codeFromText(eventClass);
    std::optional<FourCharCode> idCode = HostEventBus::codeFromText(eventID);
    if (!targetCode || !classCode || !idCode) {
        sendErrorReply(HostEventBus::kErrorBadCode, "target, class and ID must be four characters each");
        return QVariantMap();
    }
    if (!fDelegate) {
        sendErrorReply(HostEventBus::kErrorNotHandled, "VeskBarcode is not ready for events yet");
        return QVariantMap();
    }
    IncomingHostEvent event;
    event.target = *targetCode;
    event.eventClass = *classCode;
    event.eventID = *idCode;
    event.fromHost = senderOwnsHostName();
    event.wantsReply = message().isReplyRequired();
    event.sender = message().service().toStdString();
    for (auto parameter = parameters.begin(); parameter != parameters.end(); ++parameter)
        event.parameters[parameter.key().toStdString()] = parameter.value().toString().toStdString();

    HostEventResult result = fDelegate->handleHostEvent(event);
    switch (result.outcome) {
    case HostEventResult::Outcome::Refused:
        sendErrorReply(HostEventBus::kErrorRefused,
                       eventClass + " " + eventID + " is accepted only from Vesk-X (" +
                           HostEventBus::busNameForSignature(kVeskXSignature) + ")");
        return QVariantMap();
    case HostEventResult::Outcome::NotHandled:
        sendErrorReply(HostEventBus::kErrorNotHandled, "no handler for " + eventClass + " " + eventID);
        return QVariantMap();
    case HostEventResult::Outcome::WrongTarget:
        sendErrorReply(HostEventBus::kErrorWrongTarget,
                       "this program's signature is " + HostEventBus::codeText(kVeskBarcodeSignature));
        return QVariantMap();
    case HostEventResult::Outcome::Handled:
        break;
    }
    QVariantMap reply;
    for (const auto& [keyword, text] : result.reply)
        reply.insert(QString::fromStdString(keyword), QString::fromStdString(text));
    return reply;
}

bool DBusHostEvents::OpenFile(const QString& path) {
    if (!fDelegate)
        return false;
    QByteArray bytes = path.toUtf8();
    return fDelegate->applicationOpenFile(bytes.constData());
}
