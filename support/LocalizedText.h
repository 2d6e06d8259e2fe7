// Texts of the plain core that the user reads outside the keyed alert tables: titles of alerts
// built in code ("FOUND Zebex Unit SN# [%1]!"), status-line texts, the file chooser's title.
//
// The core names each text by a context and its English source text, exactly as Qt's
// QCoreApplication::translate does, and lupdate collects the calls to localizedText (the build
// tells it that localizedText spells translate). The Qt shell installs a translator over Qt's; without
// one (command-line tools, core tests) the English source text is used.
//
// Placeholders are Qt's: %1 to %9 filled by fillArguments, and %n (the count) in texts whose
// form depends on a number, filled by the translator itself.
#pragma once

#include <initializer_list>
#include <string>

class TextTranslator {
  public:
    virtual ~TextTranslator() = default;
    // The translation of sourceText in context, UTF-8; n >= 0 chooses the plural form and fills %n.
    virtual std::string translate(const char* context, const char* sourceText, const char* disambiguation,
                                  int n) = 0;
};

// The translator the core uses; null: the English source texts. Any thread.
void setTextTranslator(TextTranslator* translator);

std::string localizedText(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                          int n = -1);

// Replaces %1, %2, ... of text by the arguments in order (the lowest-numbered placeholder first,
// as QString::arg does); a placeholder without an argument stays as it is.
std::string fillArguments(const std::string& text, std::initializer_list<std::string> arguments);
