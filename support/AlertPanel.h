// Keyed, localized alerts and status texts from the table "myLocalDictionary".
//
// The table exists once per language, built into the program. An alert entry is a dictionary with
// "title", "mesg", "defaultButton", "alternateButton" and "otherAltButton"; a list entry is an
// array of texts. Results: 1 default button, 0 alternate, -1 other, -2 nothing could be shown.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// The name of the program's localized table.
inline constexpr char kLocalizedTable[] = "myLocalDictionary";

// What an alert shows. Empty button titles mean no such button (the default button falls back to
// "OK").
struct AlertPanelContent {
    std::string key; // the entry's key, or a descriptive name for unlocalized alerts
    std::string title;
    std::string message;
    std::string defaultButton;
    std::string alternateButton;
    std::string otherButton;
};

// The platform side of an alert: shows it modally and returns 1, 0, -1 (or -2 when it failed).
// Also the file chooser. Implementations may be called from any thread and block the caller until
// the user answers.
class AlertPrompt {
  public:
    virtual ~AlertPrompt() = default;
    virtual int runAlert(const AlertPanelContent& content) = 0;
    // A file chooser; none when the user cancels.
    virtual std::optional<std::string> chooseFile(const std::string& title, const std::string& folder) = 0;
};

// The prompt the free functions below use. Without one installed, alerts are answered by the
// unattended prompt (scripted answers or the default button).
void setAlertPrompt(AlertPrompt* prompt);
AlertPrompt& alertPrompt();

// One entry of a localized table.
struct LocalizedEntry {
    enum class Kind { Text, Dictionary, List };
    Kind kind = Kind::Text;
    std::string text;
    std::map<std::string, std::string> fields;
    std::vector<std::optional<std::string>> items;
};
using LocalizedTable = std::map<std::string, LocalizedEntry>;

// Parses a table in the program's text form: "KEY = text", "KEY.field = text" and
// "KEY[index] = text" lines, "#" comments; \n, \r, \t and \\ escapes in texts.
LocalizedTable parseLocalizedTable(const std::string& source);

// Where tables come from: the built-in tables unless a test installs its own source.
class LocalizedTableSource {
  public:
    virtual ~LocalizedTableSource() = default;
    virtual std::optional<LocalizedTable> loadTable(const std::string& table,
                                                    const std::string& language) = 0;
};
void setLocalizedTableSource(LocalizedTableSource* source);

// Registers a built-in table text (the build embeds the resource files and registers them).
void registerBuiltinTable(const std::string& table, const std::string& language, const char* text);

std::string getPreferredLanguage();

int myNSRunAlertPanel(const char* table, const char* key, const char* arg1, const char* arg2);
int myNSRunAlertPanel(const char* table, const char* key, const char* title, const char* mesg,
                      const char* arg1, const char* arg2);
// The entry's own texts, its message's %@ placeholders filled with args in order (for messages
// that name more than two figures; a translation keeps the order of the placeholders).
int myNSRunAlertPanel(const char* table, const char* key, const std::vector<std::string>& args);
// Item index of the list entry key; "<Could NOT Find String>" when the table, entry or item is
// missing, none when the index lies beyond the list or the entry is not a list.
std::optional<std::string> myGetNSArrayItem(const char* table, const char* key, short index);

// Fills the %@ placeholders of a table text (an alert message or a list item such as status 2,
// which takes the port's device path) with arg1 and arg2 in order; "%%" gives "%".
std::string formatLocalizedText(const std::string& format, const char* arg1, const char* arg2 = nullptr);

// An alert with texts of its own, not taken from a table (for example the invalid-path alert).
int runPlainAlert(const std::string& title, const std::string& message, const std::string& button);
