#include "Preferences.h"

#include "MessageLog.h"
#include "PropertyList.h"

#include <atomic>
#include <charconv>
#include <cstdio>
#include <cstdlib>

const char sPrefs_doEnableInternalTesting[] = "doEnableInternalTesting";
const char sPrefs_doAllowUserToModifyData[] = "doAllowUserToModifyData";
const char sPrefs_doOutputThreeBarcodeIDs[] = "doOutputThreeBarcodeIDs";
const char sPrefs_barcodeMatchSkewSeconds[] = "barcodeMatchSkewSeconds";
const char sPrefs_defaultBarcodeDataFileName[] = "defaultBarcodeDataFileName";
const char sPrefs_doPromptForMissingBarcodeDataFile[] = "doPromptForMissingBarcodeDataFile";
const char sPrefs_doManualPromptForBarcodeDataFile[] = "doManualPromptForBarcodeDataFile";
const char sPrefs_doUseLastBarcodeAsSyncData[] = "doUseLastBarcodeAsSyncData";

namespace {

std::atomic<PreferenceStore*> gStore{nullptr};

std::optional<std::string> read(const char* key) {
    PreferenceStore* store = gStore.load();
    if (!store)
        return std::nullopt;
    return store->value(key);
}

bool isTrueText(const std::string& text) {
    return text == "true" || text == "YES" || text == "yes";
}

bool readBool(const char* key) {
    std::optional<std::string> text = read(key);
    if (!text)
        return false;
    if (isTrueText(*text))
        return true;
    return std::strtol(text->c_str(), nullptr, 10) != 0;
}

long readInteger(const char* key) {
    std::optional<std::string> text = read(key);
    if (!text)
        return 0;
    if (isTrueText(*text))
        return 1;
    return std::strtol(text->c_str(), nullptr, 10);
}

} // namespace

std::string preferenceDecimalText(double value) {
    char buffer[64];
    std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

double parsePreferenceDecimal(const std::string& text) {
    // strtod would follow the process locale, which the user-interface toolkit sets from the
    // user's (a Spanish desk reads "36.5" as 36), so the point is parsed explicitly.
    std::string point = text;
    size_t first = point.find_first_not_of(" \t");
    if (first == std::string::npos)
        return 0.0;
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
        return 0.0;
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

bool GeneralPreferencesController::getDoOutputThreeBarcodeIDs() {
    if (PreferenceStore* store = gStore.load())
        store->setValue(sPrefs_doOutputThreeBarcodeIDs, "true");
    return true;
}

float GeneralPreferencesController::getBarcodeMatchSkewSeconds() {
    std::optional<std::string> text = read(sPrefs_barcodeMatchSkewSeconds);
    float skew = text ? float(parsePreferenceDecimal(*text)) : 0.0f;
    MessageLog::LogMessage(myFormat("getBarcodeMatchSkewSeconds read back [%2.2f]", skew));
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
