// The end of a job on the desktop: one notification through the desktop's notification service
// (org.freedesktop.Notifications on the session bus). Without a session bus or without the
// service nothing is shown and nothing fails: the outcome is in the log either way.
#pragma once

#include <QDBusConnection>
#include <QString>

class JobEndNotifier {
  public:
    explicit JobEndNotifier(QDBusConnection bus) : fBus(std::move(bus)) {}

    // Sends summary with body; true when the service took it. Waits at most two seconds.
    bool notify(const QString& summary, const QString& body);

  private:
    QDBusConnection fBus;
};
