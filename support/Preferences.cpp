#include "Preferences.h"

#include "MessageLog.h"

#include <atomic>
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

bool readBool(const char* key) {
    std::optional<std::string> text = read(key);
    if (!text)
        return false;
    if (*text == "true" || *text == "YES" || *text == "yes")
        return true;
    return std::strtol(text->c_str(), nullptr, 10) != 0;
}

long readInteger(const char* key) {
    std::optional<std::string> text = read(key);
    if (!text)
        return 0;
    if (*text == "true")
        return 1;
    return std::strtol(text->c_str(), nullptr, 10);
}

} // namespace

void setPreferenceStore(PreferenceStore* store) { gStore.store(store); }

PreferenceStore* preferenceStore() { return gStore.load(); }

bool GeneralPreferencesController::getDoEnableInternalTestingMode() { return readBool(sPrefs_doEnableInternalTesting); }

bool GeneralPreferencesController::getDoAllowUserToModifyData() { return readBool(sPrefs_doAllowUserToModifyData); }

bool GeneralPreferencesController::getDoOutputThreeBarcodeIDs() {
    if (PreferenceStore* store = gStore.load())
        store->setValue(sPrefs_doOutputThreeBarcodeIDs, "true");
    return true;
}

float GeneralPreferencesController::getBarcodeMatchSkewSeconds() {
    std::optional<std::string> text = read(sPrefs_barcodeMatchSkewSeconds);
    float skew = text ? std::strtof(text->c_str(), nullptr) : 0.0f;
    MessageLog::LogMessage(myFormat("getBarcodeMatchSkewSeconds read back [%2.2f]", skew));
    return skew;
}

std::optional<std::string> GeneralPreferencesController::getDefaultBarcodeDataFileName() {
    std::optional<std::string> name = read(sPrefs_defaultBarcodeDataFileName);
    MessageLog::LogMessage("getDefaultBarcodeDataFileName read back [" + (name ? *name : std::string("(null)")) + "]");
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
