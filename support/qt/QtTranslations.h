// The program's language in Qt: the windows' translations built into the program
// (:/i18n/VeskBarcode_CODE.qm), Qt's own (qtbase_CODE.qm, for the standard buttons of dialogs),
// and the plain core's texts (localizedText) through the same translations.
#pragma once

#include <QString>

// Installs the translations of the language chosen from the desktop's list (chosenLanguageCode),
// replacing those of an earlier call; call after the QApplication exists and before the first
// window is made. The code of the language installed ("en" when the desktop asks for none the
// program carries).
QString installTranslations();

// True when Qt's own translations for the installed language were found (English needs none).
bool qtTranslationsLoaded();
