// Keyed alerts shown as Qt message boxes, the status lists, and the built-in tables.
#include "AlertPanel.h"
#include "MessageBoxAnswerer.h"
#include "QtAlertPrompt.h"

#include <QEventLoop>
#include <QRegularExpression>
#include <QtTest>

#include <atomic>
#include <cstdlib>
#include <thread>

namespace {

const char kTestTable[] = R"(
NSAlertWindow_0001.title = Only a title
NSAlertWindow_0003.title = Three buttons
NSAlertWindow_0003.mesg = Scanner %@ on port %@
NSAlertWindow_0003.defaultButton = Yes
NSAlertWindow_0003.alternateButton = No
NSAlertWindow_0003.otherAltButton = Maybe
NSAlertWindow_0004.mesg = Just a message
NSAlertWindow_Text = a text, not a dictionary
NSArray_ibStatus[0] = zero
NSArray_ibStatus[2] = two
)";

// The test table for "myLocalDictionary" in English; no other table exists.
class TestTables : public LocalizedTableSource {
  public:
    std::optional<LocalizedTable> loadTable(const std::string& table, const std::string& language) override {
        if (table != "myLocalDictionary" || language != "English")
            return std::nullopt;
        return parseLocalizedTable(kTestTable);
    }
};

const char* const kShownAlertKeys[] = {"NSAlertWindow_1001", "NSAlertWindow_1002", "NSAlertWindow_1003",
                                       "NSAlertWindow_1005", "NSAlertWindow_1009", "NSAlertWindow_9001",
                                       "NSAlertWindow_9002", "NSAlertWindow_9003", "NSAlertWindow_9004",
                                       "NSAlertWindow_9005", "NSAlertWindow_9009"};

int placeholderCount(const std::string& text) {
    return int(QString::fromStdString(text).count(QStringLiteral("%@")));
}

void setLanguage(const char* value) {
    if (value)
        setenv("LANGUAGE", value, 1);
    else
        unsetenv("LANGUAGE");
}

} // namespace

class TestQtAlerts : public QObject {
    Q_OBJECT
    TestTables fTables;

  private slots:
    void initTestCase() {
        unsetenv("VESK_UNATTENDED");
        unsetenv("VESK_ANSWERS");
        installQtAlertPrompt();
    }
    void init() {
        setLanguage("en_GB");
        setLocalizedTableSource(&fTables);
    }
    void cleanup() {
        setLocalizedTableSource(nullptr);
        unsetenv("VESK_UNATTENDED");
        unsetenv("VESK_ANSWERS");
    }

    void resultByButton_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("expected");
        QTest::newRow("default") << "Yes" << 1;
        QTest::newRow("alternate") << "No" << 0;
        QTest::newRow("other") << "Maybe" << -1;
    }
    void resultByButton() {
        QFETCH(QString, button);
        QFETCH(int, expected);
        MessageBoxAnswerer answerer(button);
        QCOMPARE(myNSRunAlertPanel("myLocalDictionary", "NSAlertWindow_0003", "PDX-177", "/dev/ttyUSB0"),
                 expected);
        QCOMPARE(answerer.last().title, QStringLiteral("Three buttons"));
        QCOMPARE(answerer.last().message, QStringLiteral("Scanner PDX-177 on port /dev/ttyUSB0"));
        QCOMPARE(answerer.last().buttons.size(), 3);
    }

    void titleOnlyEntryHasFallbackMessageAndOneButton() {
        MessageBoxAnswerer answerer;
        QCOMPARE(myNSRunAlertPanel("myLocalDictionary", "NSAlertWindow_0001", nullptr, nullptr), 1);
        QCOMPARE(answerer.last().title, QStringLiteral("Only a title"));
        QCOMPARE(answerer.last().message, QStringLiteral("(No Further Info Given)"));
        QCOMPARE(answerer.last().buttons, QStringList{QStringLiteral("OK")});
    }

    void nothingShownGivesMinusTwo_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("boxShown");
        QTest::newRow("missing table") << "noSuchTable"
                                       << "NSAlertWindow_0003" << true;
        QTest::newRow("missing key") << "myLocalDictionary"
                                     << "NSAlertWindow_7777" << true;
        QTest::newRow("text entry") << "myLocalDictionary"
                                    << "NSAlertWindow_Text" << false;
        QTest::newRow("list entry") << "myLocalDictionary"
                                    << "NSArray_ibStatus" << false;
    }
    void nothingShownGivesMinusTwo() {
        QFETCH(QString, table);
        QFETCH(QString, key);
        QFETCH(bool, boxShown);
        MessageBoxAnswerer answerer(QStringLiteral("OK"));
        QByteArray tableName = table.toUtf8();
        QByteArray keyName = key.toUtf8();
        QCOMPARE(myNSRunAlertPanel(tableName.constData(), keyName.constData(), nullptr, nullptr), -2);
        QCoreApplication::processEvents();
        QCOMPARE(answerer.last().shown, boxShown);
        if (!boxShown)
            return;
        QCOMPARE(answerer.last().title, QStringLiteral("Unable to Find Resource For:"));
        QVERIFY(answerer.last().message.contains(QStringLiteral("name.strings = \"%1\"").arg(table)));
        QVERIFY(answerer.last().message.contains(QStringLiteral("key = \"%1\"").arg(key)));
    }

    void sixArgumentFormReplacesTitleAndMessage_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("mesg");
        QTest::addColumn<QString>("shownTitle");
        QTest::addColumn<QString>("shownMessage");
        QTest::newRow("title only") << "FOUND Zebex Unit SN# [17712345]!" << QString()
                                    << "FOUND Zebex Unit SN# [17712345]!"
                                    << "Scanner A on port B";
        QTest::newRow("message only") << QString() << "Port %@"
                                      << "Three buttons"
                                      << "Port A";
        QTest::newRow("neither") << QString() << QString() << "Three buttons"
                                 << "Scanner A on port B";
    }
    void sixArgumentFormReplacesTitleAndMessage() {
        QFETCH(QString, title);
        QFETCH(QString, mesg);
        QFETCH(QString, shownTitle);
        QFETCH(QString, shownMessage);
        MessageBoxAnswerer answerer(QStringLiteral("No"));
        QByteArray titleText = title.toUtf8();
        QByteArray mesgText = mesg.toUtf8();
        QCOMPARE(myNSRunAlertPanel("myLocalDictionary", "NSAlertWindow_0003",
                                   title.isNull() ? nullptr : titleText.constData(),
                                   mesg.isNull() ? nullptr : mesgText.constData(), "A", "B"),
                 0);
        QCOMPARE(answerer.last().title, shownTitle);
        QCOMPARE(answerer.last().message, shownMessage);
    }

    void sixArgumentFormWithMissingEntryStillGivesMinusTwo() {
        MessageBoxAnswerer answerer;
        QCOMPARE(myNSRunAlertPanel("myLocalDictionary", "NSAlertWindow_7777", "A title", "A message", nullptr,
                                   nullptr),
                 -2);
        QCOMPARE(answerer.last().title, QStringLiteral("Unable to Find Resource For:"));
    }

    void listItems_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("expected");
        QTest::newRow("first item") << "myLocalDictionary" << 0 << true << "zero";
        QTest::newRow("gap in the list") << "myLocalDictionary" << 1 << true << "<Could NOT Find String>";
        QTest::newRow("beyond the end") << "myLocalDictionary" << 3 << false << QString();
        QTest::newRow("negative index") << "myLocalDictionary" << -1 << false << QString();
        QTest::newRow("missing table") << "noSuchTable" << 0 << true << "<Could NOT Find String>";
    }
    void listItems() {
        QFETCH(QString, table);
        QFETCH(int, index);
        QFETCH(bool, present);
        QFETCH(QString, expected);
        QByteArray tableName = table.toUtf8();
        std::optional<std::string> item =
            myGetNSArrayItem(tableName.constData(), "NSArray_ibStatus", short(index));
        QCOMPARE(item.has_value(), present);
        if (present)
            QCOMPARE(QString::fromStdString(*item), expected);
    }

    void alertFromWorkerIsShownOnUiThreadWhileWorkerWaits() {
        MessageBoxAnswerer answerer(QStringLiteral("Maybe"));
        std::atomic<int> result{99};
        std::atomic<bool> done{false};
        std::thread worker([&] {
            result = myNSRunAlertPanel("myLocalDictionary", "NSAlertWindow_0003", "x", "y");
            done = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(done.load(), 10000);
        worker.join();
        QCOMPARE(result.load(), -1);
        QVERIFY(answerer.last().onUiThread);
        QCOMPARE(answerer.last().message, QStringLiteral("Scanner x on port y"));
    }

    void unattendedAnswersWithoutShowing_data() {
        QTest::addColumn<QString>("answers");
        QTest::addColumn<int>("expected");
        QTest::newRow("scripted by number") << "NSAlertWindow_0003=-1" << -1;
        QTest::newRow("scripted by button title") << "NSAlertWindow_0003=No" << 0;
        QTest::newRow("not scripted takes the default") << "NSAlertWindow_1002=0" << 1;
    }
    void unattendedAnswersWithoutShowing() {
        QFETCH(QString, answers);
        QFETCH(int, expected);
        setenv("VESK_UNATTENDED", "1", 1);
        setenv("VESK_ANSWERS", answers.toUtf8().constData(), 1);
        MessageBoxAnswerer answerer;
        QCOMPARE(myNSRunAlertPanel("myLocalDictionary", "NSAlertWindow_0003", nullptr, nullptr), expected);
        QCoreApplication::processEvents();
        QVERIFY(!answerer.last().shown);
    }

    void languageFromLocale_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Spanish list") << "es_ES.UTF-8:en"
                                      << "Spanish";
        QTest::newRow("Mexican Spanish") << "es_MX"
                                         << "Spanish";
        QTest::newRow("English") << "en_US.UTF-8"
                                 << "English";
        QTest::newRow("German passes unchanged") << "de_DE"
                                                 << "de";
    }
    void languageFromLocale() {
        QFETCH(QString, language);
        QFETCH(QString, expected);
        setLanguage(language.toUtf8().constData());
        QCOMPARE(QString::fromStdString(getPreferredLanguage()), expected);
    }

    void spanishTableChosenForSpanishLocale() {
        setLocalizedTableSource(nullptr);
        setLanguage("es_ES");
        QCOMPARE(QString::fromStdString(*myGetNSArrayItem("myLocalDictionary", "NSArray_ibStatus", 9)),
                 QStringLiteral("Emparejando fotos con códigos de barras..."));
        MessageBoxAnswerer answerer(QStringLiteral("Guardar emparejamiento"));
        QCOMPARE(myNSRunAlertPanel("myLocalDictionary", "NSAlertWindow_9005", nullptr, nullptr), 0);
        QCOMPARE(answerer.last().title, QStringLiteral("¿Terminar la revisión?"));
    }

    // A language the program does not carry reads English rather than failing every question.
    void uncarriedLanguageFallsBackToEnglish() {
        setLocalizedTableSource(nullptr);
        setLanguage("de_DE");
        MessageBoxAnswerer answerer(QStringLiteral("Scanner Is Ready"));
        QCOMPARE(myNSRunAlertPanel("myLocalDictionary", "NSAlertWindow_1005", nullptr, nullptr), 1);
        QCOMPARE(answerer.last().title, QStringLiteral("Get the scanner ready (cable)"));
    }

    void builtinTablesAreComplete_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "en";
        QTest::newRow("Spanish") << "es";
    }
    void builtinTablesAreComplete() {
        QFETCH(QString, language);
        setLocalizedTableSource(nullptr);
        setLanguage(language.toUtf8().constData());
        setenv("VESK_UNATTENDED", "1", 1);
        for (const char* key : kShownAlertKeys) {
            // Shown unattended: -2 would mean a missing or malformed entry.
            QVERIFY2(myNSRunAlertPanel("myLocalDictionary", key, "arg", nullptr) == 1, key);
        }
        for (short index = 0; index <= 9; ++index) {
            std::optional<std::string> item =
                myGetNSArrayItem("myLocalDictionary", "NSArray_ibStatus", index);
            QVERIFY(item && !item->empty() && *item != "<Could NOT Find String>");
            QCOMPARE(placeholderCount(*item), index == 2 || index == 3 ? 1 : 0);
        }
        for (short index = 0; index <= 3; ++index) {
            std::optional<std::string> item =
                myGetNSArrayItem("myLocalDictionary", "NSArray_ibBarcode", index);
            QVERIFY(item && !item->empty() && *item != "<Could NOT Find String>");
        }
    }

    // Each message takes no more arguments than its callers pass (9003 and 1009 one, the others none),
    // and has its own title, message and default button.
    void builtinAlertTextsFitTheirCallers() {
        for (const char* language : {"English", "Spanish"}) {
            setLocalizedTableSource(nullptr);
            setLanguage(std::string(language) == "English" ? "en" : "es");
            for (const char* key : kShownAlertKeys) {
                MessageBoxAnswerer answerer;
                myNSRunAlertPanel("myLocalDictionary", key, "ARGUMENT-ONE", "ARGUMENT-TWO");
                QVERIFY2(answerer.last().shown, key);
                const ShownMessageBox& shown = answerer.last();
                QVERIFY2(shown.title != "NO INFO" && !shown.title.isEmpty(), key);
                QVERIFY2(shown.message != "(No Further Info Given)" && shown.message.size() > 40, key);
                QVERIFY2(!shown.message.contains("ARGUMENT-TWO"), key);
                QCOMPARE(shown.message.contains("ARGUMENT-ONE"),
                         std::string(key) == "NSAlertWindow_9003" ||
                             std::string(key) == "NSAlertWindow_1009");
                QVERIFY2(!shown.message.contains("%@"), key);
            }
        }
    }
};

QTEST_MAIN(TestQtAlerts)
#include "test_qt_alerts.moc"
