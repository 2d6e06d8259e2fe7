#include "Preferences.h"

#include "MessageLog.h"
#include "PropertyList.h"

#include <atomic>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <set>

const char sPrefs_doEnableInternalTesting[] = "doEnableInternalTesting";
const char sPrefs_doAllowUserToModifyData[] = "doAllowUserToModifyData";
const char sPrefs_doOutputThreeBarcodeIDs[] = "doOutputThreeBarcodeIDs";
const char sPrefs_barcodeMatchSkewSeconds[] = "barcodeMatchSkewSeconds";
const char sPrefs_defaultBarcodeDataFileName[] = "defaultBarcodeDataFileName";
const char sPrefs_doPromptForMissingBarcodeDataFile[] = "doPromptForMissingBarcodeDataFile";
const char sPrefs_doManualPromptForBarcodeDataFile[] = "doManualPromptForBarcodeDataFile";
const char sPrefs_doUseLastBarcodeAsSyncData[] = "doUseLastBarcodeAsSyncData";
const char sPrefs_scannerSerialPort[] = "scannerSerialPort";

namespace {

std::atomic<PreferenceStore*> gStore{nullptr};

std::optional<std::string> read(const char* key) {
    PreferenceStore* store = gStore.load();
    if (!store)
        return std::nullopt;
    return store->value(key);
}

std::string trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::optional<bool> readBoolText(const std::string& stored) {
    std::string text = trimmed(stored);
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (text == "true" || text == "yes" || text == "1")
        return true;
    if (text == "false" || text == "no" || text == "0")
        return false;
    return std::nullopt;
}

// A whole integer; true and false as 1 and 0 (the flags were once stored as booleans).
std::optional<long> readIntegerText(const std::string& stored) {
    std::string text = trimmed(stored);
    if (std::optional<bool> flag = readBoolText(text))
        return *flag ? 1 : 0;
    long value = 0;
    const char* first = text.data();
    if (!text.empty() && text[0] == '+')
        ++first;
    std::from_chars_result result = std::from_chars(first, text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<double> readSkewText(const std::string& stored) {
    std::optional<double> value = readPreferenceDecimal(stored);
    if (!value || *value < GeneralPreferencesController::kMinimumSkewSeconds ||
        *value > GeneralPreferencesController::kMaximumSkewSeconds)
        return std::nullopt;
    return value;
}

// A value as the message shows it: at most 60 characters, control characters as spaces.
std::string shownValue(const std::string& text) {
    std::string shown;
    for (char c : text.substr(0, 60))
        shown += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    return text.size() > 60 ? shown + "..." : shown;
}

std::mutex gReportedLock;
std::set<std::string> gReported;

// Each bad value is named once per process, not at every read.
void reportBadValue(PreferenceStore& store, const char* key, const std::string& value, const char* expected,
                    const std::string& factoryText) {
    std::string location = store.location();
    std::string message =
        myFormat("The setting %s=%s in %s is not %s; the factory value %s is used.\n", key,
                 shownValue(value).c_str(), location.c_str(), expected, factoryText.c_str());
    {
        std::lock_guard<std::mutex> guard(gReportedLock);
        if (!gReported.insert(location + "\n" + key + "\n" + value).second)
            return;
    }
    myPrintf(message);
}

// The stored value of key read by parse; a value that parse refuses counts as the factory value
// (named in the message area); the type's empty value when neither reads.
template <typename T>
T checkedValue(const char* key, const std::function<std::optional<T>(const std::string&)>& parse,
               T emptyValue, const char* expected) {
    PreferenceStore* store = gStore.load();
    if (!store)
        return emptyValue;
    std::optional<std::string> text = store->value(key);
    if (!text)
        return emptyValue;
    if (std::optional<T> value = parse(*text))
        return *value;
    std::map<std::string, std::string> defaults = GeneralPreferencesController::factoryDefaults();
    auto factory = defaults.find(key);
    std::optional<T> factoryValue = factory == defaults.end() ? std::nullopt : parse(factory->second);
    std::string factoryText = factoryValue ? trimmed(factory->second) : std::string("(none)");
    reportBadValue(*store, key, *text, expected, factoryText);
    return factoryValue.value_or(emptyValue);
}

bool readBool(const char* key) {
    return checkedValue<bool>(key, readBoolText, false, "true or false");
}

long readInteger(const char* key) {
    return checkedValue<long>(key, readIntegerText, 0, "a whole number");
}

} // namespace

std::string preferenceDecimalText(double value) {
    char buffer[64];
    std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

namespace {

// The number at the start of text (after blanks), read with a point whatever the locale; the
// place where it ended. A comma stands for the point when the text has no point (an older hand
// edit).
std::optional<double> leadingDecimal(const std::string& text, size_t& end) {
    // strtod would follow the process locale, which the user-interface toolkit sets from the
    // user's (a Spanish desk reads "36.5" as 36), so the point is parsed explicitly.
    std::string point = text;
    size_t first = point.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::nullopt;
    point = point.substr(first);
    if (point.find('.') == std::string::npos) {
        size_t comma = point.find(',');
        if (comma != std::string::npos)
            point[comma] = '.';
    }
    if (!point.empty() && point[0] == '+')
        point.erase(0, 1);
    double value = 0.0;
    std::from_chars_result result = std::from_chars(point.data(), point.data() + point.size(), value);
    if (result.ec != std::errc())
        return std::nullopt;
    end = static_cast<size_t>(result.ptr - point.data());
    return value;
}

} // namespace

double parsePreferenceDecimal(const std::string& text) {
    size_t end = 0;
    return leadingDecimal(text, end).value_or(0.0);
}

std::optional<double> readPreferenceDecimal(const std::string& text) {
    std::string whole = trimmed(text);
    size_t end = 0;
    std::optional<double> value = leadingDecimal(whole, end);
    if (!value || end != whole.size() - (whole[0] == '+' ? 1 : 0) || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

void setPreferenceStore(PreferenceStore* store) {
    gStore.store(store);
}

std::map<std::string, std::string> GeneralPreferencesController::factoryDefaults() {
    std::optional<std::map<std::string, std::string>> defaults = builtinFactoryDefaults();
    if (!defaults)
        return {};
    return *defaults;
}

bool GeneralPreferencesController::setupDefaults() {
    std::optional<std::map<std::string, std::string>> defaults = builtinFactoryDefaults();
    if (!defaults) {
        myPrintf("setupDefaults: the factory defaults (FactoryDefault.plist) could not be read; "
                 "preferences the user never set read as off, 0 or empty");
        return false;
    }
    PreferenceStore* store = gStore.load();
    if (!store) {
        myPrintfDebug("setupDefaults: no preference store installed");
        return false;
    }
    store->registerDefaults(*defaults);
    return true;
}

PreferenceStore* preferenceStore() {
    return gStore.load();
}

bool GeneralPreferencesController::getDoEnableInternalTestingMode() {
    return readBool(sPrefs_doEnableInternalTesting);
}

bool GeneralPreferencesController::getDoAllowUserToModifyData() {
    return readBool(sPrefs_doAllowUserToModifyData);
}

// Always on: the matched list names each photo's previous and next barcode. Reading never writes,
// so the stored value is left as it is.
bool GeneralPreferencesController::getDoOutputThreeBarcodeIDs() {
    return true;
}

float GeneralPreferencesController::getBarcodeMatchSkewSeconds() {
    float skew = float(checkedValue<double>(sPrefs_barcodeMatchSkewSeconds, readSkewText, 0.0,
                                            "a number of seconds from 0 to 3600"));
    MessageLog::LogMessage(myFormat("getBarcodeMatchSkewSeconds read back [%2.2f]", double(skew)));
    return skew;
}

std::optional<std::string> GeneralPreferencesController::getDefaultBarcodeDataFileName() {
    std::optional<std::string> name = read(sPrefs_defaultBarcodeDataFileName);
    MessageLog::LogMessage("getDefaultBarcodeDataFileName read back [" +
                           (name ? *name : std::string("(null)")) + "]");
    return name;
}

long GeneralPreferencesController::getDoPromptForMissingBarcodeDataFile() {
    long value = readInteger(sPrefs_doPromptForMissingBarcodeDataFile);
    MessageLog::LogMessage(myFormat("getDoPromptForMissingBarcodeDataFile read back [%li]", value));
    return value;
}

long GeneralPreferencesController::getDoManualPromptForBarcodeDataFile() {
    long value = readInteger(sPrefs_doManualPromptForBarcodeDataFile);
    MessageLog::LogMessage(myFormat("getDoManualPromptForBarcodeDataFile read back [%li]", value));
    return value;
}

bool GeneralPreferencesController::getDoUseLastBarcodeAsSyncData() {
    bool lastRecords = readBool(sPrefs_doUseLastBarcodeAsSyncData);
    MessageLog::LogMessage(myFormat("getDoUseLastBarcodeAsSyncData read back [%i]", lastRecords ? 1 : 0));
    return lastRecords;
}

std::optional<std::string> GeneralPreferencesController::getScannerSerialPort() {
    std::optional<std::string> path = read(sPrefs_scannerSerialPort);
    if (!path || trimmed(*path).empty())
        return std::nullopt;
    return trimmed(*path);
}

void GeneralPreferencesController::setScannerSerialPort(const std::string& path) {
    PreferenceStore* store = gStore.load();
    if (!store)
        return;
    if (path.empty()) {
        store->removeValue(sPrefs_scannerSerialPort);
        return;
    }
    store->setValue(sPrefs_scannerSerialPort, path);
}
