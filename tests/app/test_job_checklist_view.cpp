// The job checklist in the main window on the offscreen platform: each line's sentence and figures
// through a whole job and for each failed step, in English and Spanish; the download's "k of N"
// with the time left; the buttons disabled with their reason; the notification at the end of a
// job, received by a small notification service on the test's private session bus. With
// VESK_SCREENSHOTS=FOLDER the window is also saved there during a download and at the end.
#include "ApplicationShell.h"
#include "JobChecklistModel.h"
#include "JobChecklistView.h"
#include "JobEndNotifier.h"
#include "MainWindow.h"
#include "QtTranslations.h"

#include "RecordingShell.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QtTest>

#include <chrono>
#include <mutex>

namespace {

// A clock the test moves by hand, for the time left of a download.
class HandClock : public Clock {
  public:
    TimePoint now() override { return fNow; }
    void sleepFor(Duration length) override { fNow += length; }
    void advance(Duration length) { fNow += length; }

  private:
    TimePoint fNow{};
};

void useLanguage(const char* code) {
    qputenv("LANGUAGE", code);
    qputenv("LC_ALL", "");
    qputenv("LC_MESSAGES", "");
    qputenv("LANG", "C.UTF-8");
    installTranslations();
}

// A whole job as the steps report it: 333 photos (2 undated), scanner 10700001 with 81 scans.
void reportUpToTheMatch(JobProgress& job) {
    job.setStepState(eJobStep_Photos, eStepState::Running);
    job.photosListed(333, 2);
    job.setStepState(eJobStep_Photos, eStepState::Done);
    job.setStepState(eJobStep_Scanner, eStepState::Running);
    job.scannerFound("10700001", 81);
    job.setStepState(eJobStep_Scanner, eStepState::Done);
    job.setStepState(eJobStep_Download, eStepState::Running);
    job.scansDownloaded(81);
    job.setStepState(eJobStep_Download, eStepState::Done);
    job.setStepState(eJobStep_Match, eStepState::Running);
    job.photosMatched(MatchedFigures{333, 81, 3, 2});
    job.setStepState(eJobStep_Match, eStepState::Done);
    job.setStepState(eJobStep_HostConfirm, eStepState::Running);
}

QString line(const ChecklistSnapshot& snapshot, eJobStep step) {
    return JobChecklistView::lineText(snapshot, step);
}

} // namespace

// The desktop's notification service, as small as the test needs: it keeps what it was sent.
class NotificationReceiver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

  public:
    QString summary() const {
        std::lock_guard<std::mutex> guard(fLock);
        return fSummary;
    }
    QString body() const {
        std::lock_guard<std::mutex> guard(fLock);
        return fBody;
    }

  public slots:
    uint Notify(const QString& application, uint, const QString&, const QString& summary, const QString& body,
                const QStringList&, const QVariantMap&, int) {
        std::lock_guard<std::mutex> guard(fLock);
        fApplication = application;
        fSummary = summary;
        fBody = body;
        return 7;
    }

  private:
    mutable std::mutex fLock;
    QString fApplication;
    QString fSummary;
    QString fBody;
};

class JobChecklistViewTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { useLanguage("en"); }

    void linesThroughAWholeJob() {
        useLanguage("en");
        JobChecklistModel job;
        ChecklistSnapshot start = job.snapshot();
        QCOMPARE(line(start, eJobStep_Photos), QStringLiteral("List the photos"));
        reportUpToTheMatch(job);
        ChecklistSnapshot waiting = job.snapshot();
        QCOMPARE(line(waiting, eJobStep_Photos), QStringLiteral("333 photos listed (2 without a date)"));
        QCOMPARE(line(waiting, eJobStep_Scanner), QStringLiteral("Scanner 10700001 found: 81 scans"));
        QCOMPARE(line(waiting, eJobStep_Download), QStringLiteral("81 scans downloaded"));
        QCOMPARE(
            line(waiting, eJobStep_Match),
            QStringLiteral("Matched 333 photos to 81 scans: 3 doubtful photos, 2 barcodes without photos"));
        QCOMPARE(line(waiting, eJobStep_HostConfirm), QStringLiteral("Waiting for Vesk-X to confirm"));
        QCOMPARE(line(waiting, eJobStep_Erase), QStringLiteral("Erase the scanner"));
        job.setStepState(eJobStep_HostConfirm, eStepState::Done);
        job.setStepState(eJobStep_Erase, eStepState::Done);
        ChecklistSnapshot end = job.snapshot();
        QCOMPARE(line(end, eJobStep_Erase), QStringLiteral("Scanner erased"));
        QCOMPARE(JobChecklistView::outcomeText(end),
                 QStringLiteral("333 photos matched to 81 scans; scanner erased"));
        // One of each, in the singular.
        job.photosListed(1, 1);
        job.photosMatched(MatchedFigures{1, 1, 1, 1});
        QCOMPARE(line(job.snapshot(), eJobStep_Photos), QStringLiteral("1 photo listed (1 without a date)"));
        QCOMPARE(line(job.snapshot(), eJobStep_Match),
                 QStringLiteral("Matched 1 photo to 1 scan: 1 doubtful photo, 1 barcode without photos"));
    }

    void linesInSpanish() {
        useLanguage("es");
        JobChecklistModel job;
        reportUpToTheMatch(job);
        ChecklistSnapshot waiting = job.snapshot();
        QCOMPARE(line(waiting, eJobStep_Photos), QStringLiteral("333 fotos en la lista (2 sin fecha)"));
        QCOMPARE(line(waiting, eJobStep_Scanner), QStringLiteral("Escáner 10700001 encontrado: 81 lecturas"));
        QCOMPARE(line(waiting, eJobStep_HostConfirm), QStringLiteral("Esperando a que Vesk-X confirme"));
        job.setStepState(eJobStep_Erase, eStepState::Done);
        QCOMPARE(JobChecklistView::outcomeText(job.snapshot()),
                 QStringLiteral("333 fotos emparejadas con 81 lecturas; escáner borrado"));
    }

    void failedStepsSayWhatToDoNext_data() {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("problem");
        QTest::addColumn<QString>("advice");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("photo list not written")
            << int(eJobStep_Photos) << int(eStepProblem::PhotoListNotWritten) << "check that the job folder"
            << "not finished";
        QTest::newRow("no serial port")
            << int(eJobStep_Scanner) << int(eStepProblem::NoSerialPort) << "plug the scanner's cable in"
            << "not finished";
        QTest::newRow("no scanner answered")
            << int(eJobStep_Scanner) << int(eStepProblem::NoScannerAnswer) << "press Connect to Scanner"
            << "not finished";
        QTest::newRow("cancelled at the download")
            << int(eJobStep_Download) << int(eStepProblem::Cancelled) << "nothing was changed on the scanner"
            << "Job cancelled";
        QTest::newRow("download broke off") << int(eJobStep_Download) << int(eStepProblem::DownloadFailed)
                                            << "the scans are still on the scanner"
                                            << "not finished";
        QTest::newRow("match failed")
            << int(eJobStep_Match) << int(eStepProblem::MatchFailed) << "Nothing could be matched"
            << "Nothing could be matched";
        QTest::newRow("back to Vesk-X")
            << int(eJobStep_Match) << int(eStepProblem::ReturnedToHost) << "Back to Vesk-X"
            << "Job cancelled";
        QTest::newRow("erase failed")
            << int(eJobStep_Erase) << int(eStepProblem::NotErased) << "its scans are still on it"
            << "could NOT be erased";
    }
    void failedStepsSayWhatToDoNext() {
        QFETCH(int, step);
        QFETCH(int, problem);
        QFETCH(QString, advice);
        QFETCH(QString, outcome);
        useLanguage("en");
        JobChecklistModel job;
        job.setStepState(eJobStep(step), eStepState::Failed, eStepProblem(problem));
        ChecklistSnapshot snapshot = job.snapshot();
        QVERIFY2(line(snapshot, eJobStep(step)).contains(advice), qPrintable(line(snapshot, eJobStep(step))));
        QVERIFY2(JobChecklistView::outcomeText(snapshot).contains(outcome),
                 qPrintable(JobChecklistView::outcomeText(snapshot)));
    }

    // "scan k of N" from the first record on, and the time left once the pace is known: 10 of 81
    // after 9 s at one scan a second leaves 71 s.
    void downloadCountsScansWithTheTimeLeft() {
        useLanguage("en");
        HandClock clock;
        JobChecklistModel job(clock);
        job.setStepState(eJobStep_Download, eStepState::Running);
        job.setStepProgress(eJobStep_Download, 1, 81);
        QCOMPARE(line(job.snapshot(), eJobStep_Download), QStringLiteral("Downloading: scan 1 of 81"));
        clock.advance(std::chrono::seconds(9));
        job.setStepProgress(eJobStep_Download, 10, 81);
        QCOMPARE(line(job.snapshot(), eJobStep_Download),
                 QStringLiteral("Downloading: scan 10 of 81, about 71 s left"));
        clock.advance(std::chrono::seconds(1));
        job.setStepProgress(eJobStep_Download, 11, 1400);
        QCOMPARE(line(job.snapshot(), eJobStep_Download),
                 QStringLiteral("Downloading: scan 11 of 1400, about 23 min left"));
        job.setStepState(eJobStep_Download, eStepState::Running);
        job.setStepProgress(eJobStep_Photos, 120, 333);
        job.setStepState(eJobStep_Photos, eStepState::Running);
        job.setStepProgress(eJobStep_Photos, 120, 333);
        QCOMPARE(line(job.snapshot(), eJobStep_Photos), QStringLiteral("Listing photos: file 120 of 333"));
    }

    void buttonsDisabledWithTheirReason() {
        useLanguage("en");
        testsupport::RecordingShell shell;
        MainWindow window(shell);
        window.show();
        auto button = [&window](const char* name) { return window.findChild<QPushButton*>(name); };
        JobChecklistModel job;
        window.showChecklist(job.snapshot());
        QVERIFY(button("buildImageListButton")->isEnabled());
        QVERIFY(!button("downloadButton")->isEnabled());
        QVERIFY(button("downloadButton")->toolTip().contains("Connect to the scanner first"));
        QVERIFY(!button("matchButton")->isEnabled());
        QVERIFY(!button("deleteButton")->isEnabled());
        QVERIFY(button("deleteButton")->toolTip().contains("erased only after"));
        // While a step runs, every job button waits for it.
        job.setStepState(eJobStep_Photos, eStepState::Running);
        window.showChecklist(job.snapshot());
        QVERIFY(!button("buildImageListButton")->isEnabled());
        QVERIFY(button("connectButton")->toolTip().contains("wait until it has finished"));
        QVERIFY(button("quitButton")->isEnabled());
        reportUpToTheMatch(job);
        window.showChecklist(job.snapshot());
        // Waiting for Vesk-X is not a running step: the erase is there for the user.
        QVERIFY(button("downloadButton")->isEnabled());
        QVERIFY(button("matchButton")->isEnabled());
        QVERIFY(button("deleteButton")->isEnabled());
        QVERIFY(button("deleteButton")->toolTip().isEmpty());
        // Reported from a worker thread, the window shows it on its own thread.
        QThread* worker = QThread::create([&job] { job.setStepState(eJobStep_Erase, eStepState::Running); });
        worker->start();
        worker->wait();
        delete worker;
        window.showChecklist(job.snapshot());
        QTRY_VERIFY(!button("deleteButton")->isEnabled());
        QTRY_VERIFY(window.findChild<QLabel*>("checklistLine5")->text().contains("Erasing the scanner"));
    }

    void notificationAtTheEndOfAJob() {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected())
            QSKIP("no session bus (the test runs under dbus-run-session)");
        // Without the service nothing is sent and nothing fails.
        QVERIFY(!JobEndNotifier(bus).notify("VeskBarcode: job ended", "nobody listens"));

        // The service on a thread and a connection of its own, as the desktop's would be.
        QThread serviceThread;
        serviceThread.start();
        NotificationReceiver receiver;
        receiver.moveToThread(&serviceThread);
        QDBusConnection serviceBus =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, "notifications");
        QVERIFY(serviceBus.registerObject("/org/freedesktop/Notifications", &receiver,
                                          QDBusConnection::ExportAllSlots));
        QVERIFY(serviceBus.registerService("org.freedesktop.Notifications"));

        useLanguage("en");
        JobChecklistModel job;
        reportUpToTheMatch(job);
        job.setStepState(eJobStep_Erase, eStepState::Done);
        const QString outcome = JobChecklistView::outcomeText(job.snapshot());
        QVERIFY(JobEndNotifier(bus).notify("VeskBarcode: job ended", outcome));
        QCOMPARE(receiver.summary(), QStringLiteral("VeskBarcode: job ended"));
        QCOMPARE(receiver.body(), QStringLiteral("333 photos matched to 81 scans; scanner erased"));

        serviceBus.unregisterService("org.freedesktop.Notifications");
        serviceBus.unregisterObject("/org/freedesktop/Notifications");
        QDBusConnection::disconnectFromBus("notifications");
        serviceThread.quit();
        serviceThread.wait();
    }

    // The window during a download and at the end, in English and Spanish, when asked for.
    void screenshots() {
        const QString folder = qEnvironmentVariable("VESK_SCREENSHOTS");
        if (folder.isEmpty())
            QSKIP("VESK_SCREENSHOTS not set");
        QDir().mkpath(folder);
        for (const char* code : {"en", "es"}) {
            useLanguage(code);
            testsupport::RecordingShell shell;
            MainWindow window(shell);
            window.setStatusText(code == QByteArray("en") ? "Downloading the scans..."
                                                          : "Descargando las lecturas...");
            window.setBusy(true);
            window.setScannerFields("PDx Pro", "10700001", "/dev/ttyUSB0");
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            HandClock clock;
            JobChecklistModel job(clock);
            job.setStepState(eJobStep_Photos, eStepState::Running);
            job.photosListed(333, 2);
            job.setStepState(eJobStep_Photos, eStepState::Done);
            job.scannerFound("10700001", 81);
            job.setStepState(eJobStep_Scanner, eStepState::Done);
            job.setStepState(eJobStep_Download, eStepState::Running);
            job.setStepProgress(eJobStep_Download, 1, 81);
            clock.advance(std::chrono::seconds(30));
            job.setStepProgress(eJobStep_Download, 31, 81);
            window.showChecklist(job.snapshot());
            QTest::qWait(50);
            QVERIFY(window.grab().save(folder + QStringLiteral("/main-window-download-%1.png").arg(code)));

            job.scansDownloaded(81);
            job.setStepState(eJobStep_Download, eStepState::Done);
            job.photosMatched(MatchedFigures{333, 81, 3, 2});
            job.setStepState(eJobStep_Match, eStepState::Done);
            job.setStepState(eJobStep_HostConfirm, eStepState::Done);
            job.setStepState(eJobStep_Erase, eStepState::Done);
            window.setBusy(false);
            window.setStatusText(std::string());
            window.showChecklist(job.snapshot());
            QTest::qWait(50);
            QVERIFY(window.grab().save(folder + QStringLiteral("/main-window-end-%1.png").arg(code)));
        }
    }
};

QTEST_MAIN(JobChecklistViewTest)
#include "test_job_checklist_view.moc"
