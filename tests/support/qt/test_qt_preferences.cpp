// Preferences over QSettings with the built-in factory defaults, and the preferences dialog.
#include "AlertPanel.h"
#include "DialogController.h"
#include "GeneralPreferencesDialog.h"
#include "MessageBoxAnswerer.h"
#include "Preferences.h"
#include "PropertyList.h"
#include "QtAlertPrompt.h"
#include "QtPreferenceStore.h"
#include "RecordingMessageSink.h"
#include "RunningThread.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

#include <clocale>
#include <cstdlib>

namespace {

class CountingDialog : public DialogController {
  public:
    int okHits = 0;

  protected:
    void doOKHit() override { ++okHits; }
};

} // namespace

class TestQtPreferences : public QObject {
    Q_OBJECT
    QTemporaryDir fConfigHome;
    std::unique_ptr<QtPreferenceStore> fStore;

    QString storedText(const char* key) {
        QSettings settings(fStore->filePath(), QSettings::IniFormat);
        return settings.value(QString::fromLatin1(key)).toString();
    }

  private slots:
    void initTestCase() {
        QVERIFY(fConfigHome.isValid());
        setenv("XDG_CONFIG_HOME", fConfigHome.path().toUtf8().constData(), 1);
        setenv("LANGUAGE", "en", 1);
        unsetenv("VESK_UNATTENDED");
        installQtAlertPrompt();
    }
    void init() {
        QFile::remove(QtPreferenceStore::defaultFilePath());
        fStore = std::make_unique<QtPreferenceStore>();
        setPreferenceStore(fStore.get());
        QVERIFY(GeneralPreferencesController::setupDefaults());
    }
    void cleanup() {
        setPreferenceStore(nullptr);
        fStore.reset();
    }

    void storeLivesInTheUsersConfigurationFolder() {
        QCOMPARE(fStore->filePath(), fConfigHome.path() + "/VeskBarcode/VeskBarcode.conf");
        fStore->setValue(sPrefs_doEnableInternalTesting, "true");
        QVERIFY(QFile::exists(fConfigHome.path() + "/VeskBarcode/VeskBarcode.conf"));
    }

    void factoryDefaultsApplyWhereTheUserSetNothing() {
        QCOMPARE(GeneralPreferencesController::getBarcodeMatchSkewSeconds(), 36.0f);
        QCOMPARE(QString::fromStdString(*GeneralPreferencesController::getDefaultBarcodeDataFileName()),
                 QStringLiteral("BarcodeDataSource.txt"));
        QCOMPARE(GeneralPreferencesController::getDoPromptForMissingBarcodeDataFile(), 1L);
        QCOMPARE(GeneralPreferencesController::getDoManualPromptForBarcodeDataFile(), 0L);
        QCOMPARE(GeneralPreferencesController::getDoAllowUserToModifyData(), true);
        QCOMPARE(GeneralPreferencesController::getDoEnableInternalTestingMode(), false);
        // Registering defaults writes nothing for the user.
        QVERIFY(!QFile::exists(fStore->filePath()));
    }

    void userValueWinsAndRemovingItBringsTheFactoryDefaultBack() {
        fStore->setValue(sPrefs_defaultBarcodeDataFileName, "Scans.txt");
        QCOMPARE(QString::fromStdString(*GeneralPreferencesController::getDefaultBarcodeDataFileName()),
                 QStringLiteral("Scans.txt"));
        // It persists: a new store on the same file (the next launch) reads it.
        QtPreferenceStore nextLaunch;
        QCOMPARE(QString::fromStdString(*nextLaunch.value(sPrefs_defaultBarcodeDataFileName)),
                 QStringLiteral("Scans.txt"));
        fStore->removeValue(sPrefs_defaultBarcodeDataFileName);
        QCOMPARE(QString::fromStdString(*GeneralPreferencesController::getDefaultBarcodeDataFileName()),
                 QStringLiteral("BarcodeDataSource.txt"));
    }

    void gettersWithNeitherUserValueNorDefault() {
        QtPreferenceStore bare(fConfigHome.path() + "/bare/VeskBarcode.conf");
        setPreferenceStore(&bare);
        QCOMPARE(GeneralPreferencesController::getBarcodeMatchSkewSeconds(), 0.0f);
        QVERIFY(!GeneralPreferencesController::getDefaultBarcodeDataFileName());
        QCOMPARE(GeneralPreferencesController::getDoPromptForMissingBarcodeDataFile(), 0L);
        QCOMPARE(GeneralPreferencesController::getDoAllowUserToModifyData(), false);
        setPreferenceStore(nullptr);
        QCOMPARE(GeneralPreferencesController::getBarcodeMatchSkewSeconds(), 0.0f);
    }

    void threeIDsAreForcedTrueWithoutWritingIt() {
        fStore->setValue(sPrefs_doOutputThreeBarcodeIDs, "false");
        QCOMPARE(GeneralPreferencesController::getDoOutputThreeBarcodeIDs(), true);
        QCOMPARE(storedText(sPrefs_doOutputThreeBarcodeIDs), QStringLiteral("false"));
    }

    // A job reads every setting; the file the user keeps is never touched by that.
    void readingNeverWrites() {
        fStore->setValue(sPrefs_doOutputThreeBarcodeIDs, "false");
        fStore->setValue(sPrefs_barcodeMatchSkewSeconds, "thirty");
        QFile file(fStore->filePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray before = file.readAll();
        file.close();
        QDateTime modified = QFileInfo(file).lastModified();
        QTest::qWait(20);
        GeneralPreferencesController::getDoEnableInternalTestingMode();
        GeneralPreferencesController::getDoAllowUserToModifyData();
        GeneralPreferencesController::getDoOutputThreeBarcodeIDs();
        GeneralPreferencesController::getBarcodeMatchSkewSeconds();
        GeneralPreferencesController::getDefaultBarcodeDataFileName();
        GeneralPreferencesController::getDoPromptForMissingBarcodeDataFile();
        GeneralPreferencesController::getDoManualPromptForBarcodeDataFile();
        GeneralPreferencesController::getDoUseLastBarcodeAsSyncData();
        GeneralPreferencesController::getScannerSerialPort();
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        QCOMPARE(QFileInfo(file).lastModified(), modified);
    }

    void skewTexts_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<float>("expected");
        QTest::newRow("decimal point") << "36.5" << 36.5f;
        QTest::newRow("integer") << "12" << 12.0f;
        QTest::newRow("decimal comma from a hand edit") << "2,25" << 2.25f;
        QTest::newRow("blanks around") << " 7.5 " << 7.5f;
        QTest::newRow("zero") << "0" << 0.0f;
        QTest::newRow("the largest") << "3600" << 3600.0f;
    }
    void skewTexts() {
        QFETCH(QString, stored);
        QFETCH(float, expected);
        fStore->setValue(sPrefs_barcodeMatchSkewSeconds, stored.toStdString());
        QCOMPARE(GeneralPreferencesController::getBarcodeMatchSkewSeconds(), expected);
    }

    // A typo must not collapse the matching to a skew of 0: the factory value stands in, and the
    // message area names the key, the value and the file, once.
    void badValuesCountAsTheFactoryValueWithAMessage_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("why");
        QTest::newRow("skew not a number")
            << sPrefs_barcodeMatchSkewSeconds << "abc"
            << "36"
            << "is not a number of seconds from 0 to 3600; the factory value 36.0";
        QTest::newRow("skew with a unit") << sPrefs_barcodeMatchSkewSeconds << "36 s"
                                          << "36"
                                          << "is not a number of seconds";
        QTest::newRow("skew negative") << sPrefs_barcodeMatchSkewSeconds << "-5"
                                       << "36"
                                       << "is not a number of seconds from 0 to 3600";
        QTest::newRow("skew too large") << sPrefs_barcodeMatchSkewSeconds << "86400"
                                        << "36"
                                        << "is not a number of seconds from 0 to 3600";
        QTest::newRow("skew not finite") << sPrefs_barcodeMatchSkewSeconds << "nan"
                                         << "36"
                                         << "is not a number of seconds";
        QTest::newRow("flag not a flag") << sPrefs_doAllowUserToModifyData << "maybe"
                                         << "1"
                                         << "is not true or false; the factory value true";
        QTest::newRow("count not a number") << sPrefs_doPromptForMissingBarcodeDataFile << "abc"
                                            << "1"
                                            << "is not a whole number; the factory value 1";
    }
    void badValuesCountAsTheFactoryValueWithAMessage() {
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        QFETCH(QString, why);
        testsupport::RecordingMessageSink messages;
        fStore->setValue(key.toStdString(), stored.toStdString());
        auto read = [&key]() -> QString {
            if (key == sPrefs_barcodeMatchSkewSeconds)
                return QString::number(double(GeneralPreferencesController::getBarcodeMatchSkewSeconds()));
            if (key == sPrefs_doAllowUserToModifyData)
                return QString::number(int(GeneralPreferencesController::getDoAllowUserToModifyData()));
            return QString::number(GeneralPreferencesController::getDoPromptForMissingBarcodeDataFile());
        };
        QCOMPARE(read(), expected);
        QCOMPARE(read(), expected);
        std::string named = "The setting " + key.toStdString() + "=" + stored.toStdString() + " in " +
                            fStore->filePath().toStdString() + " " + why.toStdString();
        QVERIFY2(messages.contains(named), messages.text().c_str());
        QCOMPARE(messages.count("The setting " + key.toStdString() + "="), 1);
    }

    // The settings file cannot be read: said once, and the factory values stand in.
    void anUnreadableSettingsFileIsReported_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("why");
        QTest::newRow("a folder in its place") << "folder"
                                               << "it is not a file";
        QTest::newRow("not a settings file") << "garbage"
                                             << "it is not a settings file";
        QTest::newRow("no permission") << "mode"
                                       << "permission denied";
    }
    void anUnreadableSettingsFileIsReported() {
        QFETCH(QString, kind);
        QFETCH(QString, why);
        if (kind == "mode" && geteuid() == 0)
            QSKIP("root reads a file whatever its mode; this case runs as a normal user");
        QTemporaryDir home;
        QString path = home.path() + "/VeskBarcode.conf";
        if (kind == "folder")
            QVERIFY(QDir().mkpath(path));
        if (kind != "folder") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(kind == "garbage" ? QByteArray("[General\n\x01\x02=\"abc\nzzz")
                                         : QByteArray("[General]\nbarcodeMatchSkewSeconds=12\n"));
            file.close();
            if (kind == "mode")
                QVERIFY(file.setPermissions(QFileDevice::WriteOwner));
        }
        QtPreferenceStore store(path);
        setPreferenceStore(&store);
        QVERIFY(GeneralPreferencesController::setupDefaults());
        testsupport::RecordingMessageSink messages;
        QCOMPARE(GeneralPreferencesController::getBarcodeMatchSkewSeconds(), 36.0f);
        QCOMPARE(GeneralPreferencesController::getDoAllowUserToModifyData(), true);
        std::string expected = "The settings file " + path.toStdString() + " cannot be read (" +
                               why.toStdString() + "); factory values are used for every setting.";
        QVERIFY2(messages.contains(expected), messages.text().c_str());
        QCOMPARE(messages.count("The settings file "), 1);
        setPreferenceStore(fStore.get());
    }

    void theChosenPortIsRememberedAndForgotten() {
        QVERIFY(!GeneralPreferencesController::getScannerSerialPort());
        GeneralPreferencesController::setScannerSerialPort(
            "/dev/serial/by-id/usb-Silicon_Labs_CP2102-if00-port0");
        QCOMPARE(QString::fromStdString(*GeneralPreferencesController::getScannerSerialPort()),
                 QStringLiteral("/dev/serial/by-id/usb-Silicon_Labs_CP2102-if00-port0"));
        GeneralPreferencesController::setScannerSerialPort("");
        QVERIFY(!GeneralPreferencesController::getScannerSerialPort());
    }

    // The toolkit sets the process locale from the user's; a comma locale must not cut 36.5 to 36.
    void skewIsReadWithAPointUnderACommaLocale() {
        const char* previous = std::setlocale(LC_NUMERIC, nullptr);
        std::string restore = previous ? previous : "C";
        if (!std::setlocale(LC_NUMERIC, "es_ES.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
            QSKIP("no locale with a decimal comma is installed");
        fStore->setValue(sPrefs_barcodeMatchSkewSeconds, "36.5");
        float skew = GeneralPreferencesController::getBarcodeMatchSkewSeconds();
        std::setlocale(LC_NUMERIC, restore.c_str());
        QCOMPARE(skew, 36.5f);
    }

    void propertyListErrorsAreRefused_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("no dictionary") << "<plist><array/></plist>";
        QTest::newRow("value without key") << "<plist><dict><string>x</string></dict></plist>";
        QTest::newRow("unknown value type") << "<plist><dict><key>a</key><date>2026</date></dict></plist>";
        QTest::newRow("unclosed string") << "<plist><dict><key>a</key><string>x</dict></plist>";
    }
    void propertyListErrorsAreRefused() {
        QFETCH(QString, text);
        QVERIFY(!parsePropertyListDictionary(text.toStdString(), "test.plist"));
    }

    void propertyListValues() {
        auto values = parsePropertyListDictionary(
            "<?xml version=\"1.0\"?><!-- note --><plist version=\"1.0\"><dict><key>a</key><real> 1.5 </real>"
            "<key>b</key><true/><key>c</key><string>R&amp;D "
            "&lt;1&gt;</string><key>d</key><false/></dict></plist>",
            "test.plist");
        QVERIFY(values);
        QCOMPARE(QString::fromStdString((*values)["a"]), QStringLiteral("1.5"));
        QCOMPARE(QString::fromStdString((*values)["b"]), QStringLiteral("true"));
        QCOMPARE(QString::fromStdString((*values)["c"]), QStringLiteral("R&D <1>"));
        QCOMPARE(QString::fromStdString((*values)["d"]), QStringLiteral("false"));
    }

    void dialogShowsEveryKeyWindowModalOnTheMainWindow() {
        fStore->setValue(sPrefs_barcodeMatchSkewSeconds, "12.75");
        fStore->setValue(sPrefs_doEnableInternalTesting, "true");
        QMainWindow mainWindow;
        mainWindow.show();
        QPointer<GeneralPreferencesDialog> dialog = openPreferencesDialog(&mainWindow);
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        QCOMPARE(dialog->parentWidget(), &mainWindow);
        QCOMPARE(dialog->skewField()->value(), 12.75);
        QCOMPARE(dialog->skewField()->decimals(), 2);
        QCOMPARE(dialog->dataFileNameField()->text(), QStringLiteral("BarcodeDataSource.txt"));
        QVERIFY(dialog->promptForMissingField()->isChecked());
        QVERIFY(!dialog->manualPromptField()->isChecked());
        QVERIFY(dialog->allowModifyField()->isChecked());
        QVERIFY(dialog->internalTestingField()->isChecked());
        // A second request raises the same dialog.
        QCOMPARE(openPreferencesDialog(&mainWindow), dialog.data());
        dialog->dismisserHit(0);
        QTRY_VERIFY(!dialog);
    }

    void dialogOkSavesCancelDiscards_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("skewAfter");
        QTest::addColumn<QString>("nameAfter");
        QTest::newRow("OK") << "ok"
                            << "2.5"
                            << "Scans.txt";
        QTest::newRow("Apply then Cancel") << "apply-cancel"
                                           << "2.5"
                                           << "Scans.txt";
        QTest::newRow("Cancel") << "cancel"
                                << ""
                                << "";
    }
    void dialogOkSavesCancelDiscards() {
        QFETCH(QString, button);
        QFETCH(QString, skewAfter);
        QFETCH(QString, nameAfter);
        QMainWindow mainWindow;
        mainWindow.show();
        QPointer<GeneralPreferencesDialog> dialog = openPreferencesDialog(&mainWindow);
        QVERIFY(dialog);
        dialog->skewField()->setValue(2.5);
        dialog->dataFileNameField()->setText(QStringLiteral("Scans.txt"));
        if (button == "ok")
            dialog->findChild<QPushButton*>(QStringLiteral("ok"))->click();
        if (button == "apply-cancel")
            dialog->ibApplyButton()->click();
        if (button != "ok")
            dialog->dismisserHit(0);
        QTRY_VERIFY(!dialog);
        QCOMPARE(storedText(sPrefs_barcodeMatchSkewSeconds), skewAfter);
        QCOMPARE(storedText(sPrefs_defaultBarcodeDataFileName), nameAfter);
    }

    void factorySettingsFillTheFieldsOnly() {
        fStore->setValue(sPrefs_barcodeMatchSkewSeconds, "5");
        fStore->setValue(sPrefs_doAllowUserToModifyData, "false");
        GeneralPreferencesDialog dialog;
        QCOMPARE(dialog.skewField()->value(), 5.0);
        dialog.findChild<QPushButton*>(QStringLiteral("revertToInitialValues"))->click();
        QCOMPARE(dialog.skewField()->value(), 36.0);
        QVERIFY(dialog.allowModifyField()->isChecked());
        QCOMPARE(storedText(sPrefs_barcodeMatchSkewSeconds), QStringLiteral("5"));
    }

    // The factory lines the clocks up automatically; the dialog offers the two ways and keeps
    // the skew for the last-record one.
    void clockAlignmentChoice() {
        QCOMPARE(GeneralPreferencesController::getDoUseLastBarcodeAsSyncData(), false);
        GeneralPreferencesDialog dialog;
        QVERIFY(dialog.automaticAlignmentField()->isChecked());
        QVERIFY(!dialog.lastRecordAlignmentField()->isChecked());
        QVERIFY(!dialog.skewField()->isEnabled());
        dialog.lastRecordAlignmentField()->click();
        QVERIFY(dialog.skewField()->isEnabled());
        QVERIFY(!dialog.automaticAlignmentField()->isChecked());
        dialog.ibApplyButton()->click();
        QCOMPARE(storedText(sPrefs_doUseLastBarcodeAsSyncData), QStringLiteral("true"));
        QCOMPARE(GeneralPreferencesController::getDoUseLastBarcodeAsSyncData(), true);
        dialog.findChild<QPushButton*>(QStringLiteral("revertToInitialValues"))->click();
        QVERIFY(dialog.automaticAlignmentField()->isChecked());
        QVERIFY(!dialog.skewField()->isEnabled());
        // A stored choice is shown when the dialog opens.
        GeneralPreferencesDialog again;
        QVERIFY(again.lastRecordAlignmentField()->isChecked());
        QVERIFY(again.skewField()->isEnabled());
    }

    void preferencesRefusedWhileAWorkerRuns() {
        QVERIFY(tryAcquireRunningThread());
        QMainWindow mainWindow;
        mainWindow.show();
        MessageBoxAnswerer answerer;
        GeneralPreferencesDialog* dialog = openPreferencesDialog(&mainWindow);
        releaseRunningThread();
        QVERIFY(!dialog);
        QVERIFY(answerer.last().shown);
        QCOMPARE(answerer.last().objectName, QStringLiteral("alert_NSAlertWindow_9002"));
        QCOMPARE(answerer.last().title, QStringLiteral("VeskBarcode is still working"));
        QVERIFY(!mainWindow.findChild<GeneralPreferencesDialog*>());
    }

    void buttonTagOneRunsOkHookFirst_data() {
        QTest::addColumn<int>("tag");
        QTest::addColumn<int>("okHits");
        QTest::newRow("tag 1") << 1 << 1;
        QTest::newRow("tag 0") << 0 << 0;
        QTest::newRow("tag 2") << 2 << 0;
    }
    void buttonTagOneRunsOkHookFirst() {
        QFETCH(int, tag);
        QFETCH(int, okHits);
        QMainWindow mainWindow;
        mainWindow.show();
        auto* dialog = new CountingDialog;
        int endedWith = -99;
        int hitsWhenEnded = -1;
        int context = 0;
        void* contextSeen = nullptr;
        dialog->beginSheetModalForWindow(
            &mainWindow,
            [&](int code, void* data) {
                endedWith = code;
                hitsWhenEnded = dialog->okHits;
                contextSeen = data;
            },
            &context);
        dialog->dismisserHit(tag);
        QCOMPARE(endedWith, tag);
        QCOMPARE(hitsWhenEnded, okHits);
        QCOMPARE(contextSeen, static_cast<void*>(&context));
    }
};

QTEST_MAIN(TestQtPreferences)
#include "test_qt_preferences.moc"
