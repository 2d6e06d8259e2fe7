// Host events over the D-Bus session bus: sends this program's events to the host and receives
// the host's events and open-folder requests. One object per process, living on the
// user-interface thread, so that incoming events are handled there. The interface is exported
// through HostEventsAdaptor, generated from app/hostbus/org.vesk.HostEvents.xml, which calls the
// public slots below.
#pragma once

#include "HostEvents.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QVariantMap>

class HostPresence;
class MyApplicationDelegate;
class QDBusServiceWatcher;

class DBusHostEvents : public QObject, public HostEvents, protected QDBusContext {
    Q_OBJECT

  public:
    explicit DBusHostEvents(QDBusConnection connection, QObject* parent = nullptr);

    enum class Claim { Owned, TakenByAnother, NoBus };
    // Claims this program's bus name (without queueing), before anything else starts.
    Claim claimBusName();
    // Hands folder (null: none) to the instance that owns the name; the process's exit status.
    int handOff(const char* folder);

    void setDelegate(MyApplicationDelegate* delegate) { fDelegate = delegate; }
    // Exports the event handlers on the bus; false when there is no bus.
    bool registerHandlers();
    // Watches the host's bus name and tells presence when it leaves the bus (the host quit or
    // crashed). Nothing happens without a bus.
    void watchHost(HostPresence* presence);

    // Sends 'barc' events to signature's bus name without waiting for a reply. False (with a
    // debug log line) when the receiver is not on the bus or the bus is gone. Any thread.
    bool sendEvent(FourCharCode signature, FourCharCode eventClass, FourCharCode eventID) override;

    // Waits (at most a second) until every event sent so far has left this process.
    void flush();

  public slots:
    // An event from outside: the target signature, class and ID as four characters each, and
    // text parameters by keyword ("----", "cmnt"); the reply holds text by keyword ("resp").
    QVariantMap Event(const QString& target, const QString& eventClass, const QString& eventID,
                      const QVariantMap& parameters);
    // A request to open a job on a folder (the hand-off of a second start); true when accepted.
    bool OpenFile(const QString& path);

  private:
    bool senderOwnsHostName();

    QDBusConnection fConnection;
    MyApplicationDelegate* fDelegate = nullptr;
    QDBusServiceWatcher* fHostWatcher = nullptr;
    QString fOwnName;
};
