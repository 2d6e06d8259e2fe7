// The program's languages. lupdate runs over the sources (as the build's update_translations target
// runs it) into a copy of each .ts file: a text the user reads that is missing from a language or
// unfinished there fails the test, naming it, and so does a translation that drops a figure's
// placeholder. Then the choice of language from the desktop's list, and what installTranslations
// puts in place (the windows' texts, Qt's own buttons, the plain core's texts).
#include "AlertPanel.h"
#include "LocalizedText.h"
#include "PreferredLanguage.h"
#include "QtTranslations.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <cstdlib>

namespace {

struct TsMessage {
    QString context;
    QString source;
    bool numerus = false;
    QString type; // "unfinished", "vanished", "obsolete" or empty
    QStringList translations;
};

QList<TsMessage> readTs(const QString& path, QString* error) {
    QList<TsMessage> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read ") + path;
        return messages;
    }
    QXmlStreamReader xml(&file);
    QString context;
    TsMessage message;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            message = TsMessage();
            message.context = context;
            message.numerus = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
        } else if (xml.name() == QLatin1String("source")) {
            message.source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            message.type = xml.attributes().value(QLatin1String("type")).toString();
            if (!message.numerus) {
                message.translations << xml.readElementText();
                messages << message;
                continue;
            }
            while (xml.readNextStartElement())
                message.translations << xml.readElementText();
            messages << message;
        }
    }
    if (xml.hasError())
        *error = path + QStringLiteral(": ") + xml.errorString();
    return messages;
}

// %1..%9 and %n of a text.
QSet<QString> placeholders(const QString& text) {
    QSet<QString> found;
    QRegularExpressionMatchIterator it = QRegularExpression(QStringLiteral("%[1-9n]")).globalMatch(text);
    while (it.hasNext())
        found.insert(it.next().captured());
    return found;
}

void setVariable(const char* name, const QString& value) {
    if (value.isEmpty())
        unsetenv(name);
    else
        setenv(name, value.toUtf8().constData(), 1);
}

void setDesktopLanguages(const QString& language, const QString& all, const QString& messages,
                         const QString& lang) {
    setVariable("LANGUAGE", language);
    setVariable("LC_ALL", all);
    setVariable("LC_MESSAGES", messages);
    setVariable("LANG", lang);
}

} // namespace

class TranslationsTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() {
        setDesktopLanguages(QStringLiteral("en"), QString(), QString(), QStringLiteral("C.UTF-8"));
        installTranslations();
    }

    void everyTextIsInTheTranslationFileAndFinished_data() {
        QTest::addColumn<QString>("code");
        for (const QString& code : QStringLiteral(VESK_TEST_LANGUAGES).split(QLatin1Char(':')))
            QTest::newRow(code.toUtf8().constData()) << code;
    }
    void everyTextIsInTheTranslationFileAndFinished() {
        QFETCH(QString, code);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString original =
            QStringLiteral(VESK_TS_FOLDER "/VeskBarcode_") + code + QStringLiteral(".ts");
        const QString copy = folder.filePath(QStringLiteral("VeskBarcode_") + code + QStringLiteral(".ts"));
        QVERIFY2(QFile::copy(original, copy), qPrintable(original));
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);

        QStringList arguments =
            QStringLiteral(VESK_LUPDATE_OPTIONS).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        arguments << QStringLiteral("-silent");
        // English is the language of the source texts: its file holds only the texts whose form
        // depends on a number ("1 photo", "2 photos").
        const bool sourceLanguage = code == QLatin1String("en");
        if (sourceLanguage)
            arguments << QStringLiteral("-pluralonly");
        arguments << QStringLiteral("@" VESK_TRANSLATED_SOURCES) << QStringLiteral("-ts") << copy;
        QProcess lupdate;
        lupdate.start(QStringLiteral(VESK_LUPDATE), arguments);
        QVERIFY2(lupdate.waitForFinished(120000), "lupdate did not finish");
        QVERIFY2(lupdate.exitStatus() == QProcess::NormalExit && lupdate.exitCode() == 0,
                 lupdate.readAllStandardError().constData());

        QString error;
        const QList<TsMessage> messages = readTs(copy, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(!messages.isEmpty());
        QStringList problems;
        for (const TsMessage& message : messages) {
            if (message.type == QLatin1String("vanished") || message.type == QLatin1String("obsolete"))
                continue;
            const QString where =
                message.context + QStringLiteral(": \"") + message.source + QLatin1Char('"');
            bool empty = message.translations.isEmpty();
            for (const QString& translation : message.translations)
                empty = empty || translation.isEmpty();
            if (message.type == QLatin1String("unfinished") || empty) {
                problems << QStringLiteral("missing or unfinished: ") + where;
                continue;
            }
            for (const QString& translation : message.translations)
                if (placeholders(translation) != placeholders(message.source))
                    problems << QStringLiteral("placeholders differ in \"") + translation +
                                    QStringLiteral("\" for ") + where;
        }
        QVERIFY2(problems.isEmpty(),
                 qPrintable(QStringLiteral("translations/VeskBarcode_") + code +
                            QStringLiteral(".ts (update it with: cmake --build build --target "
                                           "update_translations, then translate in Qt Linguist):\n  ") +
                            problems.join(QStringLiteral("\n  "))));
    }

    void languageChosenFromTheDesktopList_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("all");
        QTest::addColumn<QString>("messages");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("chosen"); // empty: none carried
        QTest::addColumn<QString>("table");
        QTest::newRow("LANGUAGE=fr:es gives Spanish") << "fr:es"
                                                      << ""
                                                      << ""
                                                      << "en_US.UTF-8"
                                                      << "es"
                                                      << "Spanish";
        QTest::newRow("LANGUAGE before the locale") << "en"
                                                    << ""
                                                    << ""
                                                    << "es_ES.UTF-8"
                                                    << "en"
                                                    << "English";
        QTest::newRow("LC_ALL without LANGUAGE") << ""
                                                 << "es_ES.UTF-8"
                                                 << ""
                                                 << "en_US.UTF-8"
                                                 << "es"
                                                 << "Spanish";
        QTest::newRow("LC_MESSAGES before LANG") << ""
                                                 << ""
                                                 << "es_MX"
                                                 << "en_GB.UTF-8"
                                                 << "es"
                                                 << "Spanish";
        QTest::newRow("LANG alone") << ""
                                    << ""
                                    << ""
                                    << "es_AR.UTF-8"
                                    << "es"
                                    << "Spanish";
        QTest::newRow("C locale is English") << ""
                                             << ""
                                             << ""
                                             << "C.UTF-8"
                                             << "en"
                                             << "English";
        QTest::newRow("nothing set is English") << ""
                                                << ""
                                                << ""
                                                << ""
                                                << "en"
                                                << "English";
        QTest::newRow("uncarried list, carried locale") << "fr:de"
                                                        << ""
                                                        << ""
                                                        << "es_ES.UTF-8"
                                                        << "es"
                                                        << "Spanish";
        QTest::newRow("none carried: the first, English texts") << "de:fr"
                                                                << ""
                                                                << ""
                                                                << "de_DE"
                                                                << ""
                                                                << "de";
        QTest::newRow("modifier and capitals") << "ES_ES@euro"
                                               << ""
                                               << ""
                                               << ""
                                               << "es"
                                               << "Spanish";
    }
    void languageChosenFromTheDesktopList() {
        QFETCH(QString, language);
        QFETCH(QString, all);
        QFETCH(QString, messages);
        QFETCH(QString, lang);
        QFETCH(QString, chosen);
        QFETCH(QString, table);
        setDesktopLanguages(language, all, messages, lang);
        std::optional<std::string> code = chosenLanguageCode();
        QCOMPARE(code ? QString::fromStdString(*code) : QString(), chosen);
        // The keyed alert tables follow the same choice.
        QCOMPARE(QString::fromStdString(getPreferredLanguage()), table);
    }

    void installedTranslationsFollowTheChoice_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("quit");
        QTest::addColumn<QString>("cancel");
        QTest::addColumn<QString>("foundTitle");
        QTest::addColumn<QString>("onePhoto");
        QTest::newRow("English") << "en"
                                 << "en"
                                 << "Quit"
                                 << "Cancel"
                                 << "FOUND Zebex Unit SN# [10700001]!"
                                 << "1 photo";
        QTest::newRow("Spanish after French") << "fr:es"
                                              << "es"
                                              << "Salir"
                                              << "Cancelar"
                                              << "¡ENCONTRADO el escáner Zebex n.º de serie [10700001]!"
                                              << "1 foto";
    }
    void installedTranslationsFollowTheChoice() {
        QFETCH(QString, language);
        QFETCH(QString, code);
        QFETCH(QString, quit);
        QFETCH(QString, cancel);
        QFETCH(QString, foundTitle);
        QFETCH(QString, onePhoto);
        setDesktopLanguages(language, QString(), QString(), QStringLiteral("C.UTF-8"));
        QCOMPARE(installTranslations(), code);
        // The windows' own texts (the main window's Quit button) and their plural forms.
        QCOMPARE(QCoreApplication::translate("MainWindow", "Quit"), quit);
        QCOMPARE(QCoreApplication::translate("ReviewModel", "%n photo(s)", nullptr, 1), onePhoto);
        // Qt's own buttons, from qtbase's translations.
        QVERIFY(qtTranslationsLoaded());
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')), cancel);
        // The plain core's texts.
        QCOMPARE(QString::fromStdString(fillArguments(
                     localizedText("ScannerWorkflows", "FOUND Zebex Unit SN# [%1]!"), {"10700001"})),
                 foundTitle);
    }

    void argumentsFillTheLowestPlaceholderFirstInOnePass() {
        QCOMPARE(QString::fromStdString(fillArguments("%2 of %1", {"a", "b"})), QStringLiteral("b of a"));
        QCOMPARE(QString::fromStdString(fillArguments("%1 and %1", {"x"})), QStringLiteral("x and x"));
        // An argument that holds a placeholder is not filled in turn.
        QCOMPARE(QString::fromStdString(fillArguments("%1: %2", {"100%2.jpg", "b"})),
                 QStringLiteral("100%2.jpg: b"));
        QCOMPARE(QString::fromStdString(fillArguments("%1 %3", {"a"})), QStringLiteral("a %3"));
    }
};

QTEST_MAIN(TranslationsTest)
#include "test_translations.moc"
