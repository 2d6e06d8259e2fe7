// The sample host: owns the host's bus name, launches the program, prints every event it
// receives, answers 'ok01' with 'eras' and a failed end with 'quit', and exits on 'qend'. Its bus
// interface is exported through SampleHostAdaptor, generated from org.vesk.HostEvents.xml.
#pragma once

#include "HostEvents.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

class QSocketNotifier;

struct SampleHostOptions {
    bool erase = true;      // answer 'ok01' with 'eras'
    bool quit = true;       // answer 'err1', 'err2', 'err3', 'abrt' with 'quit'
    int timeoutSeconds = 0; // 0: none
    QString program;
    QStringList arguments;
};

// Exit statuses of the host.
enum eSampleHostStatus {
    eSampleHostStatus_EraseSuccess = 0,
    eSampleHostStatus_MatchFailed = 1,
    eSampleHostStatus_EraseFailed = 2,
    eSampleHostStatus_BadSourceFolder = 3,
    eSampleHostStatus_UserAbort = 4,
    eSampleHostStatus_NoOutcome = 5,
    eSampleHostStatus_Timeout = 6,
    eSampleHostStatus_EndedWithoutQuitEnd = 7,
    eSampleHostStatus_NoBusName = 8,
    eSampleHostStatus_NotStarted = 9,
    eSampleHostStatus_Usage = 64,
};

class SampleHost : public QObject, protected QDBusContext {
    Q_OBJECT

  public:
    SampleHost(QDBusConnection connection, SampleHostOptions options);
    // Claims the host's name and starts the program; false (with the exit status set) on failure.
    bool start();
    int exitStatus() const { return fExitStatus; }

  public slots:
    QVariantMap Event(const QString& target, const QString& eventClass, const QString& eventID,
                      const QVariantMap& parameters);
    // The interface's open request is VeskBarcode's alone: the host refuses it.
    bool OpenFile(const QString& path);

  private:
    void sendToProgram(const QString& eventClass, const QString& eventID);
    void readCommandLine();
    void finish(int status);
    void onProgramFinished();

    QDBusConnection fConnection;
    SampleHostOptions fOptions;
    QProcess fProgram;
    QTimer fTimeout;
    QSocketNotifier* fInput = nullptr;
    QByteArray fPendingInput;
    int fOutcome = eSampleHostStatus_NoOutcome;
    int fExitStatus = 0;
    bool fFinishing = false;
};

// One event sent to the running program, for --send; prints its reply. The exit status.
int sendOneEvent(QDBusConnection connection, const QString& eventClass, const QString& eventID,
                 const QVariantMap& parameters);
