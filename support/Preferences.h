// The per-user preferences, read only through the getters of GeneralPreferencesController.
//
// The store is an interface: the shell installs one over QSettings with the built-in factory
// defaults; tests install their own. Without a store every getter returns its type's empty value.
#pragma once

#include <map>
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
// The serial port the user chose in the main window (a device path); none: the first port found.
extern const char sPrefs_scannerSerialPort[];

// A key-value store with factory defaults behind the user's values. Values travel as text
// ("true"/"false", integers, decimals written with a point whatever the locale); the getters
// convert them. Implementations are safe to call from any thread.
class PreferenceStore {
  public:
    virtual ~PreferenceStore() = default;
    // The user's value, else the factory default, else none.
    virtual std::optional<std::string> value(const std::string& key) = 0;
    virtual void setValue(const std::string& key, const std::string& value) = 0;
    // Forgets the user's value, so that the factory default shows through again.
    virtual void removeValue(const std::string&) {}
    // Installs the values used for keys the user never set; nothing is written for the user.
    virtual void registerDefaults(const std::map<std::string, std::string>&) {}
    // Where the user's values live, for messages ("/home/ana/.config/VeskBarcode/VeskBarcode.conf").
    virtual std::string location() const { return "the preferences"; }
};

void setPreferenceStore(PreferenceStore* store);
PreferenceStore* preferenceStore();

// The getters never write, and never let a bad value through: a stored value that does not read
// as its type, or lies outside its range, counts as the factory value, and the message area says
// so once per process, naming the key, the value and the file ("barcodeMatchSkewSeconds=abc in
// ~/.config/VeskBarcode/VeskBarcode.conf is not a number of seconds from 0 to 3600; the factory
// value 36 is used").
class GeneralPreferencesController {
  public:
    // Registers the built-in factory defaults with the installed store; once at launch, before
    // any getter. false (with a message) when the resource cannot be read: the getters then
    // give their types' empty values for every key the user never set.
    static bool setupDefaults();
    // The factory defaults as the resource gives them (the values a revert returns to); empty
    // when the resource cannot be read.
    static std::map<std::string, std::string> factoryDefaults();

    static bool getDoEnableInternalTestingMode();
    static bool getDoAllowUserToModifyData();
    static bool getDoOutputThreeBarcodeIDs();
    static float getBarcodeMatchSkewSeconds();
    static std::optional<std::string> getDefaultBarcodeDataFileName();
    static long getDoPromptForMissingBarcodeDataFile();
    static long getDoManualPromptForBarcodeDataFile();
    // How matching lines up the clocks: false (the factory value) automatically from the two
    // lists, true on the last records with the skew of getBarcodeMatchSkewSeconds.
    static bool getDoUseLastBarcodeAsSyncData();
    // The port the user chose, when one was chosen.
    static std::optional<std::string> getScannerSerialPort();
    // Remembers the user's choice of port (an empty path forgets it).
    static void setScannerSerialPort(const std::string& path);

    // The skew's range in seconds, as the preferences window offers it.
    static constexpr double kMinimumSkewSeconds = 0.0;
    static constexpr double kMaximumSkewSeconds = 3600.0;
};

// Text form of a decimal for the store, with a point whatever the locale ("36.5").
std::string preferenceDecimalText(double value);
// Reads a decimal written with a point (or, from an older hand edit, a comma); 0.0 when the
// text is no number.
double parsePreferenceDecimal(const std::string& text);
// The same, but the whole text must be the number (blanks around it aside), and finite; none
// otherwise ("abc", "36 s", "nan").
std::optional<double> readPreferenceDecimal(const std::string& text);
