// The main window on the offscreen platform: the disclosure button and the window's frame, the
// status line and scanner fields set from a worker thread, and the message area fed by the
// controller.
#include "ApplicationShell.h"
#include "MainWindow.h"
#include "MessageLog.h"
#include "MyApplicationDelegate.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <thread>

namespace {

class QuietShell : public ApplicationShell {
  public:
    void requestTerminate() override { ++terminateRequests; }
    void bringToFront() override {}
    void startSequencerTimer() override {}
    bool installHostEventHandlers() override { return false; }
    void playSound(const std::string& name) override { sounds.push_back(name); }
    std::vector<std::string> sounds;
    int terminateRequests = 0;
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QuietShell> fShell;
    std::unique_ptr<MainWindow> fWindow;

  private slots:
    void init() {
        qputenv("VESK_UNATTENDED", "1");
        fShell = std::make_unique<QuietShell>();
        fWindow = std::make_unique<MainWindow>(*fShell);
        fWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(fWindow.get()));
    }
    void cleanup() {
        fWindow.reset();
        fShell.reset();
    }

    void disclosureFoldsAndRestoresTheFrame() {
        auto* button = fWindow->findChild<QToolButton*>("ibDisclosureButton1");
        auto* area = fWindow->findChild<QWidget*>("ibErrorViewSuperView");
        QVERIFY(button && area);
        QCoreApplication::processEvents();
        QRect before = fWindow->geometry();
        QVERIFY(button->isChecked());
        button->click();
        QCoreApplication::processEvents();
        QVERIFY(area->isHidden());
        QCOMPARE(button->toolTip(), QString("Click to OPEN..."));
        QCOMPARE(fWindow->geometry().height(), before.height() - MainWindow::kMessageAreaHeight);
        QCOMPARE(fWindow->geometry().top(), before.top());
        button->click();
        QCoreApplication::processEvents();
        QVERIFY(!area->isHidden());
        QCOMPARE(button->toolTip(), QString("Click to CLOSE..."));
        QCOMPARE(fWindow->geometry(), before);
        QCOMPARE(fShell->sounds, (std::vector<std::string>{"Frog", "Blow"}));
    }

    void statusAndScannerFieldsFromAWorkerShowOnTheUserInterfaceThread() {
        std::thread worker([this] {
            fWindow->setStatusText("Downloading the barcode scans...");
            fWindow->setBusy(true);
            fWindow->setScannerFields("PDx Pro", "17712345", "/dev/tty.Bluetooth-Incoming-Port");
        });
        worker.join();
        auto* status = fWindow->findChild<QLabel*>("ibStatusView");
        auto* busy = fWindow->findChild<QProgressBar*>("ibIndicator");
        auto* serial = fWindow->findChild<QLineEdit*>("ibBarcodeDeviceSerialNumber");
        auto* logo = fWindow->findChild<QLabel*>("ibSerialPortImage");
        QTRY_COMPARE(status->text(), QString("Downloading the barcode scans..."));
        QVERIFY(status->isVisible());
        QVERIFY(busy->isVisible());
        QCOMPARE(serial->text(), QString("17712345"));
        QVERIFY(!logo->pixmap().isNull());
        fWindow->setStatusText("");
        fWindow->setBusy(false);
        QVERIFY(status->isHidden());
        QVERIFY(busy->isHidden());
    }

    void messageAreaShowsWorkerTextAtTheNextTickAndIsNotRewrittenWithoutNews() {
        QTemporaryDir logs;
        ApplicationServices services;
        services.status = fWindow.get();
        services.view = fWindow.get();
        services.shell = fShell.get();
        services.logFolder = logs.path().toStdString();
        MyApplicationDelegate delegate(services, BuildInfo{"VeskBarcode", "1.2.3", "Copyright test"});
        delegate.applicationWillFinishLaunching();
        auto* view = fWindow->findChild<QPlainTextEdit*>("ibErrorView");
        auto* version = fWindow->findChild<QLabel*>("ibVersion");
        QCOMPARE(version->text(), QString("Version: 1.2.3"));
        myPrintf("from the interface thread\n");
        QVERIFY(view->toPlainText().contains("from the interface thread\n"));
        std::thread worker([] { myPrintf("from a worker\n"); });
        worker.join();
        QVERIFY(!view->toPlainText().contains("from a worker"));
        delegate.doIdle();
        QVERIFY(view->toPlainText().endsWith("from a worker\n"));
        int rewrites = 0;
        connect(view, &QPlainTextEdit::textChanged, this, [&rewrites] { ++rewrites; });
        delegate.doIdle();
        delegate.doIdle();
        QCOMPARE(rewrites, 0);
        delegate.applicationWillTerminate();
    }

    void closingTheWindowAsksForTheOrderlyEnd() {
        QTemporaryDir logs;
        ApplicationServices services;
        services.view = fWindow.get();
        services.shell = fShell.get();
        services.logFolder = logs.path().toStdString();
        MyApplicationDelegate delegate(services, BuildInfo());
        fWindow->setDelegate(&delegate);
        delegate.applicationWillFinishLaunching();
        fWindow->close();
        QVERIFY(fWindow->isVisible());
        QCOMPARE(fShell->terminateRequests, 1);
        QVERIFY(delegate.terminate());
        fWindow->close();
        QVERIFY(!fWindow->isVisible());
        fWindow->setDelegate(nullptr);
    }

    // The developer command is offered only in internal testing mode, and the mode is asked again
    // after the preferences, so switching it on there shows the menu without a restart.
    void developerMenuOnlyInTestingMode() {
        bool testing = false;
        int runs = 0;
        fWindow->setDeveloperCommand([&runs] { ++runs; }, [&testing] { return testing; });
        auto* action = fWindow->findChild<QAction*>("ibPickTestFolder");
        QVERIFY(action);
        QVERIFY(!fWindow->menuBar()->isVisible());
        testing = true;
        fWindow->setPreferencesAction([] {});
        auto* preferences = fWindow->findChild<QPushButton*>("preferencesButton");
        QVERIFY(preferences);
        preferences->click();
        QVERIFY(fWindow->menuBar()->isVisible());
        action->trigger();
        QCOMPARE(runs, 1);
        testing = false;
        fWindow->refreshDeveloperMenu();
        QVERIFY(!fWindow->menuBar()->isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
