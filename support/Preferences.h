// The per-user preferences, read only through the getters of GeneralPreferencesController.
//
// The store is an interface: the shell installs one over QSettings with the built-in factory
// defaults; tests install their own. Without a store every getter returns its type's empty value.
#pragma once

#include <optional>
#include <string>

extern const char sPrefs_doEnableInternalTesting[];
extern const char sPrefs_doAllowUserToModifyData[];
extern const char sPrefs_doOutputThreeBarcodeIDs[];
extern const char sPrefs_barcodeMatchSkewSeconds[];
extern const char sPrefs_defaultBarcodeDataFileName[];
extern const char sPrefs_doPromptForMissingBarcodeDataFile[];
extern const char sPrefs_doManualPromptForBarcodeDataFile[];
extern const char sPrefs_doUseLastBarcodeAsSyncData[];

// A key-value store with factory defaults behind the user's values. Values travel as text
// ("true"/"false", integers, decimals); the getters convert them.
class PreferenceStore {
public:
    virtual ~PreferenceStore() = default;
    // The user's value, else the factory default, else none.
    virtual std::optional<std::string> value(const std::string& key) = 0;
    virtual void setValue(const std::string& key, const std::string& value) = 0;
};

void setPreferenceStore(PreferenceStore* store);
PreferenceStore* preferenceStore();

class GeneralPreferencesController {
public:
    static bool getDoEnableInternalTestingMode();
    static bool getDoAllowUserToModifyData();
    static bool getDoOutputThreeBarcodeIDs();
    static float getBarcodeMatchSkewSeconds();
    static std::optional<std::string> getDefaultBarcodeDataFileName();
    static long getDoPromptForMissingBarcodeDataFile();
    static long getDoManualPromptForBarcodeDataFile();
};
