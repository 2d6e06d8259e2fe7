#include "LocalizedText.h"

#include <atomic>

namespace {

std::atomic<TextTranslator*> gTranslator{nullptr};

// The English text: %n filled with the count.
std::string sourceWithCount(const char* sourceText, int n) {
    std::string text = sourceText ? sourceText : "";
    if (n < 0)
        return text;
    const std::string count = std::to_string(n);
    for (size_t at = text.find("%n"); at != std::string::npos; at = text.find("%n", at + count.size()))
        text.replace(at, 2, count);
    return text;
}

} // namespace

void setTextTranslator(TextTranslator* translator) {
    gTranslator.store(translator);
}

std::string localizedText(const char* context, const char* sourceText, const char* disambiguation, int n) {
    if (TextTranslator* translator = gTranslator.load())
        return translator->translate(context, sourceText, disambiguation, n);
    return sourceWithCount(sourceText, n);
}

std::string fillArguments(const std::string& text, std::initializer_list<std::string> arguments) {
    // The placeholders present, lowest first: the first argument fills the lowest of them.
    bool present[10] = {};
    for (size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '%' && text[i + 1] >= '1' && text[i + 1] <= '9')
            present[text[i + 1] - '0'] = true;
    const std::string* argumentOf[10] = {};
    const std::string* next = arguments.begin();
    for (int number = 1; number <= 9 && next != arguments.end(); ++number)
        if (present[number])
            argumentOf[number] = next++;
    // One pass, so that an argument holding "%2" is not filled in turn.
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9' &&
            argumentOf[text[i + 1] - '0']) {
            result += *argumentOf[text[i + 1] - '0'];
            ++i;
            continue;
        }
        result += text[i];
    }
    return result;
}
