// The main window on the offscreen platform: the disclosure button and the window's frame, the
// status line and scanner fields set from a worker thread, and the message area fed by the
// controller.
#include "AlertPanel.h"
#include "ApplicationShell.h"
#include "LocalizedText.h"
#include "MainWindow.h"
#include "MessageLog.h"
#include "MyApplicationDelegate.h"
#include "QtTranslations.h"

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

// Keeps what each alert would show, without showing it.
class RecordingPrompt : public AlertPrompt {
  public:
    int runAlert(const AlertPanelContent& content) override {
        messages[content.key] = QString::fromStdString(content.message);
        return 1;
    }
    std::optional<std::string> chooseFile(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::map<std::string, QString> messages;
};

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
    // The alerts tell the user which button to press next; in each language that button exists, under
    // that very name.
    void alertsNameTheButtonsThatExist_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "en";
        QTest::newRow("Spanish") << "es";
    }
    void alertsNameTheButtonsThatExist() {
        QFETCH(QString, language);
        qputenv("LANGUAGE", language.toUtf8());
        installTranslations();
        unsetenv("VESK_UNATTENDED");
        RecordingPrompt prompt;
        setAlertPrompt(&prompt);
        QuietShell shell;
        MainWindow window(shell);
        auto buttonText = [&window](const char* name) {
            auto* button = window.findChild<QPushButton*>(name);
            return button ? button->text().remove(QLatin1Char('&'))
                          : QStringLiteral("<no button %1>").arg(name);
        };
        const std::vector<std::pair<const char*, const char*>> named = {
            {"NSAlertWindow_1002", "connectButton"}, {"NSAlertWindow_1003", "connectButton"},
            {"NSAlertWindow_1005", "connectButton"}, {"NSAlertWindow_9003", "deleteButton"},
            {"NSAlertWindow_9004", "deleteButton"},  {"NSAlertWindow_9009", "rescanButton"},
            {"NSAlertWindow_9009", "connectButton"}, {"NSAlertWindow_9011", "deleteButton"},
            {"NSAlertWindow_9015", "connectButton"}, {"NSAlertWindow_9016", "deleteButton"}};
        for (const auto& [key, button] : named) {
            myNSRunAlertPanel(kLocalizedTable, key, "x", nullptr);
            QVERIFY2(prompt.messages[key].contains(buttonText(button)),
                     qPrintable(QStringLiteral("%1 should name \"%2\": %3")
                                    .arg(key, buttonText(button), prompt.messages[key])));
        }
        const QString noPort = QString::fromStdString(localizedText(
            "ScannerWorkflows",
            "VeskBarcode found no serial port for the barcode scanner. Plug in the scanner's "
            "USB-to-serial adapter, or pair the scanner over Bluetooth, then press Rescan Ports."));
        QVERIFY2(noPort.contains(buttonText("rescanButton")), qPrintable(noPort));
        setAlertPrompt(nullptr);
        qputenv("LANGUAGE", "en");
        installTranslations();
    }

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
