// The per-user preference store: QSettings in $XDG_CONFIG_HOME/VeskBarcode/VeskBarcode.conf
// (~/.config when the variable is unset), with the factory defaults behind the user's values.
// Reading never writes the file. A file that cannot be read (no permission, not a settings file)
// is reported in the message area, and the factory values stand in.
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
    std::string location() const override { return fFilePath.toStdString(); }

  private:
    // Says once (per kind of problem) that the file could not be read, so that factory values
    // standing in for the user's are not a silent surprise.
    void reportReadProblem(int status);

    QString fFilePath;
    std::mutex fLock; // guards fDefaults; the file goes through a QSettings per call
    std::map<std::string, std::string> fDefaults;
    int fReportedStatus = 0; // the QSettings status last reported (0: none)
};

// Creates the process-wide store at its default place, installs it for the getters and registers
// the built-in factory defaults (setupDefaults). Call once at launch.
QtPreferenceStore* installQtPreferenceStore();
