#include "AlertPanel.h"

#include "LocalizedText.h"
#include "MessageLog.h"
#include "PreferredLanguage.h"
#include "Unattended.h"

#include <atomic>
#include <cstdlib>
#include <mutex>

void vesk_registerBuiltinTables();

namespace {

UnattendedPrompt gUnattendedPrompt;
std::atomic<AlertPrompt*> gPrompt{nullptr};
std::atomic<LocalizedTableSource*> gTableSource{nullptr};

std::mutex gBuiltinLock;
std::map<std::string, const char*>& builtinTables() {
    static std::map<std::string, const char*> tables;
    return tables;
}

const char kNotFound[] = "<Could NOT Find String>";
const char kFallbackLanguage[] = "English";
// Lists of the tables are short; a larger index in a table text is a typing error, not a list.
const size_t kMaxListItems = 1000;

std::string trim(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::string unescape(const std::string& text) {
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            result += text[i];
            continue;
        }
        char next = text[++i];
        switch (next) {
        case 'n':
            result += '\n';
            break;
        case 'r':
            result += '\r';
            break;
        case 't':
            result += '\t';
            break;
        default:
            result += next;
            break;
        }
    }
    return result;
}

std::optional<LocalizedTable> loadTable(const std::string& table, const std::string& language) {
    if (LocalizedTableSource* source = gTableSource.load())
        return source->loadTable(table, language);
    vesk_registerBuiltinTables();
    std::lock_guard<std::mutex> guard(gBuiltinLock);
    auto found = builtinTables().find(table + "." + language);
    if (found == builtinTables().end())
        return std::nullopt;
    return parseLocalizedTable(found->second);
}

// The table in the user's language; a language the program does not carry reads the English
// table, because a missing table would answer every question of the job with "no answer" (-2),
// which cancels the job at its first question.
std::optional<LocalizedTable> findTable(const std::string& table) {
    std::string language = getPreferredLanguage();
    std::optional<LocalizedTable> found = loadTable(table, language);
    if (found || language == kFallbackLanguage)
        return found;
    found = loadTable(table, kFallbackLanguage);
    if (found)
        MessageLog::LogMessage("No " + table + " table for " + language + "; using " + kFallbackLanguage);
    return found;
}

// Fills the %@ placeholders of format with the arguments, in order; "%%" is a percent sign. A
// placeholder without an argument stays empty rather than showing a programmer's "(null)".
std::string fillPlaceholders(const std::string& format, const std::vector<const char*>& args) {
    size_t next = 0;
    std::string result;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == '%') {
            result += '%';
            ++i;
            continue;
        }
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == '@') {
            const char* arg = next < args.size() ? args[next] : nullptr;
            ++next;
            result += arg ? arg : "";
            ++i;
            continue;
        }
        result += format[i];
    }
    return result;
}

std::vector<const char*> argumentPointers(const std::vector<std::string>& args) {
    std::vector<const char*> pointers;
    for (const std::string& arg : args)
        pointers.push_back(arg.c_str());
    return pointers;
}

std::string fieldOr(const LocalizedEntry& entry, const char* field, const char* fallback) {
    auto found = entry.fields.find(field);
    if (found == entry.fields.end())
        return fallback;
    return found->second;
}

int runTableAlert(const char* table, const char* key, const char* title, const char* mesg,
                  const std::vector<const char*>& args, bool sixArgumentForm) {
    std::string tableName = table ? table : "";
    std::string keyName = key ? key : "";
    std::optional<LocalizedTable> dictionary = findTable(tableName);
    const LocalizedEntry* entry = nullptr;
    if (dictionary) {
        auto found = dictionary->find(keyName);
        if (found != dictionary->end())
            entry = &found->second;
    }
    if (!dictionary || !entry) {
        if (!sixArgumentForm)
            myPrintf("WHAT???");
        if (!dictionary)
            myPrintf("myTestDictionary is nil");
        if (!entry)
            myPrintf("mySubDictionary is nil");
        runPlainAlert(localizedText("AlertPanel", "Unable to Find Resource For:"),
                      "name.strings = \"" + tableName + "\"\rkey = \"" + keyName + "\"",
                      localizedText("AlertPanel", "OK"));
        return -2;
    }
    if (sixArgumentForm)
        myPrintf("YES Found my dictionary2!!!");
    else
        myPrintfDebug("YES Found my dictionary1!!!");
    if (entry->kind != LocalizedEntry::Kind::Dictionary) {
        MessageLog::LogMessage("myNSRunAlertPanel: the entry " + keyName + " is not a dictionary");
        return -2;
    }
    if (sixArgumentForm && entry->fields.empty())
        MessageLog::LogMessage("Dictionary is EMPTY??????");

    AlertPanelContent content;
    content.key = keyName;
    content.title = title ? std::string(title) : fieldOr(*entry, "title", "NO INFO");
    std::string format = mesg ? std::string(mesg) : fieldOr(*entry, "mesg", "(No Further Info Given)");
    content.message = fillPlaceholders(format, args);
    content.defaultButton = fieldOr(*entry, "defaultButton", localizedText("AlertPanel", "OK").c_str());
    content.alternateButton = fieldOr(*entry, "alternateButton", "");
    content.otherButton = fieldOr(*entry, "otherAltButton", "");
    int result = alertPrompt().runAlert(content);
    if (result < -2 || result > 1)
        return -2;
    return result;
}

} // namespace

void setAlertPrompt(AlertPrompt* prompt) {
    gPrompt.store(prompt);
}

AlertPrompt& alertPrompt() {
    AlertPrompt* prompt = gPrompt.load();
    if (!prompt || isUnattended())
        return gUnattendedPrompt;
    return *prompt;
}

LocalizedTable parseLocalizedTable(const std::string& source) {
    LocalizedTable table;
    size_t start = 0;
    while (start <= source.size()) {
        size_t end = source.find('\n', start);
        if (end == std::string::npos)
            end = source.size();
        std::string line = source.substr(start, end - start);
        start = end + 1;
        std::string stripped = trim(line);
        if (stripped.empty() || stripped[0] == '#')
            continue;
        size_t equals = stripped.find('=');
        if (equals == std::string::npos)
            continue;
        std::string name = trim(stripped.substr(0, equals));
        std::string value = unescape(trim(stripped.substr(equals + 1)));
        size_t bracket = name.find('[');
        size_t dot = name.find('.');
        if (bracket != std::string::npos && name.back() == ']') {
            LocalizedEntry& entry = table[name.substr(0, bracket)];
            entry.kind = LocalizedEntry::Kind::List;
            size_t index = std::strtoul(name.c_str() + bracket + 1, nullptr, 10);
            if (index >= kMaxListItems)
                continue;
            if (entry.items.size() <= index)
                entry.items.resize(index + 1);
            entry.items[index] = value;
            continue;
        }
        if (dot != std::string::npos) {
            LocalizedEntry& entry = table[name.substr(0, dot)];
            entry.kind = LocalizedEntry::Kind::Dictionary;
            entry.fields[name.substr(dot + 1)] = value;
            continue;
        }
        LocalizedEntry& entry = table[name];
        entry.kind = LocalizedEntry::Kind::Text;
        entry.text = value;
    }
    return table;
}

void setLocalizedTableSource(LocalizedTableSource* source) {
    gTableSource.store(source);
}

void registerBuiltinTable(const std::string& table, const std::string& language, const char* text) {
    std::lock_guard<std::mutex> guard(gBuiltinLock);
    builtinTables()[table + "." + language] = text;
}

std::string getPreferredLanguage() {
    // The first language of the desktop's list that the program carries (the windows follow the
    // same choice); when it carries none of them, the first one, whose table is then missing and
    // reads as English.
    std::optional<std::string> chosen = chosenLanguageCode();
    const std::string code = chosen ? *chosen : desktopLanguageCodes().front();
    const std::string language = tableLanguageName(code);
    if (code != "en" && code != "es")
        MessageLog::LogMessage("NOT translated = " + code);
    MessageLog::LogMessage("preferredLang = " + language);
    return language;
}

int myNSRunAlertPanel(const char* table, const char* key, const char* arg1, const char* arg2) {
    return runTableAlert(table, key, nullptr, nullptr, {arg1, arg2}, false);
}

int myNSRunAlertPanel(const char* table, const char* key, const char* title, const char* mesg,
                      const char* arg1, const char* arg2) {
    return runTableAlert(table, key, title, mesg, {arg1, arg2}, true);
}

int myNSRunAlertPanel(const char* table, const char* key, const std::vector<std::string>& args) {
    return runTableAlert(table, key, nullptr, nullptr, argumentPointers(args), false);
}

std::optional<std::string> myGetNSArrayItem(const char* table, const char* key, short index) {
    std::optional<LocalizedTable> dictionary = findTable(table ? table : "");
    if (!dictionary)
        return std::string(kNotFound);
    auto found = dictionary->find(key ? key : "");
    if (found == dictionary->end())
        return std::string(kNotFound);
    const LocalizedEntry& entry = found->second;
    if (entry.kind != LocalizedEntry::Kind::List || index < 0 || size_t(index) >= entry.items.size()) {
        MessageLog::LogMessage(std::string("CFArrayGetValueAtIndex: Caught exception name = ") +
                               (entry.kind != LocalizedEntry::Kind::List ? "NotAList" : "NSRangeException"));
        return std::nullopt;
    }
    if (!entry.items[size_t(index)])
        return std::string(kNotFound);
    return *entry.items[size_t(index)];
}

std::string formatLocalizedText(const std::string& format, const char* arg1, const char* arg2) {
    return fillPlaceholders(format, {arg1, arg2});
}

int runPlainAlert(const std::string& title, const std::string& message, const std::string& button) {
    AlertPanelContent content;
    content.key = title;
    content.title = title;
    content.message = message;
    content.defaultButton = button.empty() ? localizedText("AlertPanel", "OK") : button;
    return alertPrompt().runAlert(content);
}
