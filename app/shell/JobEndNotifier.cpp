#include "JobEndNotifier.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace {

const char kService[] = "org.freedesktop.Notifications";
const char kPath[] = "/org/freedesktop/Notifications";
constexpr int kReplyWaitMs = 2000;
// How long the notification stays: long enough to be read after the window has gone.
constexpr int kShownForMs = 15000;

} // namespace

bool JobEndNotifier::notify(const QString& summary, const QString& body) {
    if (!fBus.isConnected() || !fBus.interface())
        return false;
    if (!fBus.interface()->isServiceRegistered(QString::fromLatin1(kService)).value())
        return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                       QString::fromLatin1(kService), QStringLiteral("Notify"));
    call << QStringLiteral("VeskBarcode") << uint(0) << QStringLiteral("scanner") << summary << body
         << QStringList() << QVariantMap() << int(kShownForMs);
    QDBusMessage reply = fBus.call(call, QDBus::Block, kReplyWaitMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}
