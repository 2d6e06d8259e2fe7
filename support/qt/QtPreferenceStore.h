// The per-user preference store: QSettings in $XDG_CONFIG_HOME/VeskBarcode/VeskBarcode.conf
// (~/.config when the variable is unset), with the factory defaults behind the user's values.
#pragma once

#include "Preferences.h"

#include <QString>

#include <map>
#include <mutex>

class QtPreferenceStore : public PreferenceStore {
  public:
    // The store at defaultFilePath().
    QtPreferenceStore();
    explicit QtPreferenceStore(const QString& filePath);

    static QString defaultFilePath();
    QString filePath() const { return fFilePath; }

    std::optional<std::string> value(const std::string& key) override;
    void setValue(const std::string& key, const std::string& value) override;
    void removeValue(const std::string& key) override;
    void registerDefaults(const std::map<std::string, std::string>& defaults) override;

  private:
    QString fFilePath;
    std::mutex fLock; // guards fDefaults; the file goes through a QSettings per call
    std::map<std::string, std::string> fDefaults;
};

// Creates the process-wide store at its default place, installs it for the getters and registers
// the built-in factory defaults (setupDefaults). Call once at launch.
QtPreferenceStore* installQtPreferenceStore();
