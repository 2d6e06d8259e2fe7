// Host events both ways over a private session bus, between the real vesk-host and the real
// VeskBarcode (offscreen, unattended). The test runs under a session bus of its own.
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString program(const char* name) {
    return qEnvironmentVariable("VESK_BIN") + "/" + name;
}

QProcessEnvironment unattended() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("VESK_UNATTENDED", "1");
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.remove("VESK_ANSWERS");
    // No scanner port, and preferences of the test's own, never the user's.
    environment.remove("VESK_SERIAL_PORTS");
    static QTemporaryDir configuration;
    environment.insert("XDG_CONFIG_HOME", configuration.path());
    return environment;
}

// A process whose standard output and error are collected as they arrive.
class Run {
  public:
    explicit Run(const QString& executable, const QStringList& arguments) {
        fProcess.setProcessEnvironment(unattended());
        fProcess.start(executable, arguments);
    }
    ~Run() {
        if (fProcess.state() == QProcess::NotRunning)
            return;
        fProcess.kill();
        fProcess.waitForFinished(5000);
    }
    QProcess& process() { return fProcess; }
    QString out() {
        fOut += fProcess.readAllStandardOutput();
        return QString::fromUtf8(fOut);
    }
    QString err() {
        fErr += fProcess.readAllStandardError();
        return QString::fromUtf8(fErr);
    }
    // Waits until text appears in the standard error (the program's log copy) or output.
    bool waitFor(const QString& text, int milliseconds = 15000) {
        QElapsedTimer timer;
        timer.start();
        while (!out().contains(text) && !err().contains(text)) {
            if (timer.elapsed() > milliseconds || fProcess.state() == QProcess::NotRunning)
                return out().contains(text) || err().contains(text);
            fProcess.waitForReadyRead(100);
        }
        return true;
    }
    int finish(int milliseconds = 20000) {
        if (!fProcess.waitForFinished(milliseconds))
            return -1;
        out();
        err();
        return fProcess.exitStatus() == QProcess::NormalExit ? fProcess.exitCode() : -2;
    }
    void send(const char* line) {
        fProcess.write(line);
        fProcess.write("\n");
        fProcess.waitForBytesWritten(1000);
    }
    QStringList eventLines() {
        QStringList lines;
        for (const QString& line : out().split('\n'))
            if (line.startsWith("event "))
                lines << line;
        return lines;
    }

  private:
    QProcess fProcess;
    QByteArray fOut, fErr;
};

// "vesk-host --send ..." from a process that is not the running host; its output and status.
QPair<int, QString> sendAsStranger(const QStringList& arguments) {
    QProcess sender;
    sender.setProcessEnvironment(unattended());
    sender.start(program("vesk-host"), arguments);
    if (!sender.waitForFinished(30000))
        return {-1, QString()};
    return {sender.exitCode(), QString::fromUtf8(sender.readAllStandardOutput())};
}

// Where a job on an empty folder rests: the photo list is written and the connection finds no
// serial port for the scanner (none is given in VESK_SERIAL_PORTS).
const char kJobResting[] = "pdxMakeConnection => there is no serial port for the scanner";

} // namespace

class HostEventsBusTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir fPhotos;
    QString folder(const QString& name) {
        QString path = fPhotos.path() + "/" + name;
        QDir().mkpath(path);
        return path;
    }

  private slots:
    // Each case starts on a quiet bus: a VeskBarcode of the case before that is still ending (slow
    // under the sanitizers) would otherwise own the program's name, and the new start would hand
    // its folder over to it and exit.
    void init() {
        QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
        QVERIFY(bus);
        QElapsedTimer waited;
        waited.start();
        while (bus->isServiceRegistered("org.vesk.Signature.VBcd") ||
               bus->isServiceRegistered("org.vesk.Signature.QRWz")) {
            QVERIFY2(waited.elapsed() < 30000, "the programs of the case before still hold their bus names");
            QTest::qWait(50);
        }
    }

    // SIGTERM while the launch's alert waits for an answer (no port was found; nobody answers it)
    // ends the program in order, instead of leaving it running for ever.
    void sigtermWhileTheLaunchAlertWaitsEndsTheProgram() {
        QProcess veskBarcode;
        QProcessEnvironment environment = unattended();
        environment.remove("VESK_UNATTENDED"); // the alert waits, as for a user
        veskBarcode.setProcessEnvironment(environment);
        veskBarcode.start(program("VeskBarcode"), {});
        QVERIFY(veskBarcode.waitForStarted(10000));
        QByteArray messages;
        QElapsedTimer waited;
        waited.start();
        while (!messages.contains("is ZERO") && waited.elapsed() < 15000 &&
               veskBarcode.state() == QProcess::Running) {
            veskBarcode.waitForReadyRead(100);
            messages += veskBarcode.readAllStandardError();
        }
        if (!messages.contains("is ZERO")) {
            veskBarcode.kill();
            veskBarcode.waitForFinished(5000);
            QSKIP("this machine has a serial port: no alert at launch");
        }
        QTest::qWait(300); // the alert's own event loop runs
        veskBarcode.terminate();
        bool ended = veskBarcode.waitForFinished(10000);
        if (!ended) {
            veskBarcode.kill();
            veskBarcode.waitForFinished(5000);
        }
        messages += veskBarcode.readAllStandardError();
        QVERIFY2(ended, "SIGTERM did not end VeskBarcode");
        QCOMPARE(veskBarcode.exitStatus(), QProcess::NormalExit);
        QCOMPARE(veskBarcode.exitCode(), 0);
        QVERIFY2(messages.contains("applicationWillTerminate"), messages.constData());
    }

    void badFolderEndsWithErr3ThenQendAndStatus3() {
        Run host(program("vesk-host"), {"--", program("VeskBarcode"), folder("Caf\u00e9")});
        QCOMPARE(host.finish(), 3);
        QCOMPARE(host.eventLines(), QStringList({"event barc err3", "event barc qend"}));
        QVERIFY2(host.err().contains("INVALID CHARACTER(s) Found in the Source Path Name:"),
                 qPrintable(host.err()));
    }

    void hostQuitEndsWithQendAndStatus5AndTheLogLiesBesideTheProgram() {
        Run host(program("vesk-host"), {"--", program("VeskBarcode"), folder("Day 1")});
        QVERIFY(host.waitFor(kJobResting));
        host.send("quit");
        QCOMPARE(host.finish(), 5);
        QCOMPARE(host.eventLines(), QStringList({"event barc qend"}));
        QFile log(program("VeskBarcodeLog.txt"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QByteArray bytes = log.readAll();
        QVERIFY(bytes.contains("\xA5\xA5 CREATED fCurJobCheckListPtr\n"));
        QVERIFY(bytes.contains("\xA5\xA5 got handleTestAEHandler\n"));
    }

    void eraseIsRefusedFromAnotherProgramAndFromTheHostBeforeItWasAskedToConfirm() {
        Run host(program("vesk-host"), {"--", program("VeskBarcode"), folder("Day 2")});
        QVERIFY(host.waitFor(kJobResting));
        QPair<int, QString> stranger = sendAsStranger({"--send", "eras"});
        QCOMPARE(stranger.first, 1);
        QVERIFY2(stranger.second.contains("refused QRWz eras: org.vesk.HostEvents.Error.Refused"),
                 qPrintable(stranger.second));
        QVERIFY(host.waitFor("REFUSED host event QRWz eras"));
        QVERIFY(!host.err().contains("IBAction ibDeleteData"));

        QPair<int, QString> notRouted = sendAsStranger({"--send", "eras", "--class", "barc"});
        QCOMPARE(notRouted.first, 1);
        QVERIFY2(notRouted.second.contains("org.vesk.HostEvents.Error.NotHandled"),
                 qPrintable(notRouted.second));
        QVERIFY(!host.err().contains("IBAction ibDeleteData"));

        // The host's own 'eras' before 'ok01' would erase scans that were never matched.
        host.send("eras");
        QVERIFY(host.waitFor("the job has not asked Vesk-X to confirm yet"));
        QVERIFY(!host.err().contains("IBAction ibDeleteData"));
        host.send("quit");
        QCOMPARE(host.finish(), 5);
        QCOMPARE(host.eventLines(), QStringList({"event barc qend"}));
    }

    void cameraCommandIsAnsweredWithItsResponseText() {
        Run host(program("vesk-host"), {"--", program("VeskBarcode"), folder("Day 3")});
        QVERIFY(host.waitFor(kJobResting));
        QPair<int, QString> camera =
            sendAsStranger({"--send", "cmd1", "--text", "settings", "--comment", "a note"});
        QCOMPARE(camera.first, 0);
        QVERIFY2(camera.second.contains("resp Response To RequestCameraSettingsCommand\n"),
                 qPrintable(camera.second));
        QVERIFY(host.waitFor("keyObjectInfo->theDataString = [settings]"));
        QVERIFY(host.err().contains("myActualCommentString = [a note]"));
        host.send("quit");
        QCOMPARE(host.finish(), 5);
    }

    void secondStartHandsItsFolderOverAndIsRefused() {
        Run host(program("vesk-host"), {"--", program("VeskBarcode"), folder("First")});
        QVERIFY(host.waitFor(kJobResting));
        Run second(program("VeskBarcode"), {folder("Second")});
        QCOMPARE(second.finish(), 1);
        QVERIFY2(second.out().contains("refused the folder"), qPrintable(second.out()));
        QVERIFY(host.waitFor("THERE MIGHT BE ANOTHER JOB in PROCESS?????????"));
        host.send("quit");
        QCOMPARE(host.finish(), 5);
        QCOMPARE(host.eventLines(), QStringList({"event barc qend"}));
    }

    void untitledStartAcceptsAFolderHandedOverLater() {
        Run host(program("vesk-host"), {"--", program("VeskBarcode")});
        QVERIFY(host.waitFor("Launched Without Vesk-X"));
        Run second(program("VeskBarcode"), {folder("Later")});
        QCOMPARE(second.finish(), 0);
        QVERIFY(host.waitFor(kJobResting));
        host.send("quit");
        QCOMPARE(host.finish(), 5);
    }

    void noQuitLeavesTheProgramToTheTimeOut() {
        Run host(program("vesk-host"),
                 {"--no-quit", "--timeout", "3", "--", program("VeskBarcode"), folder("B\u00e9")});
        QCOMPARE(host.finish(), 6);
        QCOMPARE(host.eventLines().value(0), QString("event barc err3"));
        QCOMPARE(host.process().state(), QProcess::NotRunning);
    }

    void hostStatusesForProgramsThatDoNotTakePart_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::newRow("ended_without_qend") << QStringList{"--", "/bin/true"} << 7;
        QTest::newRow("not_startable") << QStringList{"--", "/nonexistent/program"} << 9;
        QTest::newRow("no_program") << QStringList{"--"} << 64;
        QTest::newRow("unknown_option") << QStringList{"--bogus", "--", "/bin/true"} << 64;
    }

    void hostStatusesForProgramsThatDoNotTakePart() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        Run host(program("vesk-host"), arguments);
        QCOMPARE(host.finish(), status);
    }

    void secondHostIsRefusedTheName() {
        Run first(program("vesk-host"), {"--", program("VeskBarcode"), folder("Hosted")});
        QVERIFY(first.waitFor(kJobResting));
        Run second(program("vesk-host"), {"--", "/bin/true"});
        QCOMPARE(second.finish(), 8);
        first.send("quit");
        QCOMPARE(first.finish(), 5);
    }

    void withoutAHostTheProgramLogsTheFailedSendAndGoesOn() {
        Run alone(program("VeskBarcode"), {folder("Caf\u00e9 alone")});
        QVERIFY(alone.waitFor(
            "Host event barc err3 not delivered: org.vesk.Signature.QRWz is not on the session bus"));
        alone.process().terminate();
        QCOMPARE(alone.finish(10000), 0);
        QVERIFY(alone.err().contains("Host event barc qend not delivered"));
    }
};

QTEST_GUILESS_MAIN(HostEventsBusTest)
#include "test_host_events_bus.moc"
