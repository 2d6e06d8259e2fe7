#include "QtTranslations.h"

#include "LocalizedText.h"
#include "MessageLog.h"
#include "PreferredLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace {

class QtTextTranslator : public TextTranslator {
  public:
    std::string translate(const char* context, const char* sourceText, const char* disambiguation,
                          int n) override {
        return QCoreApplication::translate(context, sourceText, disambiguation, n).toStdString();
    }
};

QtTextTranslator gCoreTranslator;
std::unique_ptr<QTranslator> gProgramTranslator;
std::unique_ptr<QTranslator> gQtTranslator;
bool gQtTranslationsLoaded = false;

void removeInstalled() {
    for (std::unique_ptr<QTranslator>* translator : {&gProgramTranslator, &gQtTranslator}) {
        if (*translator)
            QCoreApplication::removeTranslator(translator->get());
        translator->reset();
    }
}

} // namespace

QString installTranslations() {
    removeInstalled();
    std::optional<std::string> chosen = chosenLanguageCode();
    const QString code = QString::fromStdString(chosen ? *chosen : std::string("en"));
    // English has one too: the texts whose form depends on a number ("1 photo", "2 photos").
    gProgramTranslator = std::make_unique<QTranslator>();
    if (gProgramTranslator->load(QStringLiteral("VeskBarcode_") + code, QStringLiteral(":/i18n")))
        QCoreApplication::installTranslator(gProgramTranslator.get());
    else
        MessageLog::LogMessage("No translation of the windows for " + code.toStdString());
    gQtTranslationsLoaded = code == QLatin1String("en");
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    gQtTranslator = std::make_unique<QTranslator>();
    if (code != QLatin1String("en") && gQtTranslator->load(QStringLiteral("qtbase_") + code, qtFolder)) {
        QCoreApplication::installTranslator(gQtTranslator.get());
        gQtTranslationsLoaded = true;
    } else if (code != QLatin1String("en")) {
        // Qt's standard buttons (Cancel, Apply) then stay in English; the package qt6-translations-l10n has
        // them.
        MessageLog::LogMessage("Qt's own translations for " + code.toStdString() + " are not in " +
                               qtFolder.toStdString());
    }
    setTextTranslator(&gCoreTranslator);
    return code;
}

bool qtTranslationsLoaded() {
    return gQtTranslationsLoaded;
}
