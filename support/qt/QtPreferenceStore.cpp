#include "QtPreferenceStore.h"

#include "MessageLog.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), int(text.size()));
}

} // namespace

QtPreferenceStore::QtPreferenceStore() : QtPreferenceStore(defaultFilePath()) {}

QtPreferenceStore::QtPreferenceStore(const QString& filePath) : fFilePath(filePath) {}

QString QtPreferenceStore::defaultFilePath() {
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (configHome.isEmpty() || !QDir::isAbsolutePath(configHome))
        configHome = QDir::homePath() + QStringLiteral("/.config");
    return configHome + QStringLiteral("/VeskBarcode/VeskBarcode.conf");
}

// A QSettings object per call: separate objects on one file are safe from several threads, and
// they share Qt's in-process cache, so this reads the file only when it changed.
std::optional<std::string> QtPreferenceStore::value(const std::string& key) {
    {
        QSettings settings(fFilePath, QSettings::IniFormat);
        QVariant stored = settings.value(fromUtf8(key));
        reportReadProblem(int(settings.status()));
        if (stored.isValid())
            return stored.toString().toStdString();
    }
    std::lock_guard<std::mutex> guard(fLock);
    auto found = fDefaults.find(key);
    if (found == fDefaults.end())
        return std::nullopt;
    return found->second;
}

void QtPreferenceStore::reportReadProblem(int status) {
    {
        std::lock_guard<std::mutex> guard(fLock);
        if (status == fReportedStatus)
            return;
        fReportedStatus = status;
    }
    if (status == QSettings::NoError)
        return;
    QFileInfo file(fFilePath);
    std::string why = "a read error";
    if (status == QSettings::FormatError)
        why = "it is not a settings file";
    else if (!file.isFile())
        why = "it is not a file";
    else if (!file.isReadable())
        why = "permission denied";
    myPrintf("The settings file " + fFilePath.toStdString() + " cannot be read (" + why +
             "); factory values are used for every setting.\n");
}

void QtPreferenceStore::setValue(const std::string& key, const std::string& value) {
    QSettings settings(fFilePath, QSettings::IniFormat);
    settings.setValue(fromUtf8(key), fromUtf8(value));
    settings.sync();
    if (settings.status() != QSettings::NoError)
        myPrintf("Could not save the preference " + key + " in " + fFilePath.toStdString());
}

void QtPreferenceStore::removeValue(const std::string& key) {
    QSettings settings(fFilePath, QSettings::IniFormat);
    settings.remove(fromUtf8(key));
    settings.sync();
}

void QtPreferenceStore::registerDefaults(const std::map<std::string, std::string>& defaults) {
    std::lock_guard<std::mutex> guard(fLock);
    for (const auto& entry : defaults)
        fDefaults[entry.first] = entry.second;
}

QtPreferenceStore* installQtPreferenceStore() {
    static QtPreferenceStore* store = nullptr;
    if (!store) {
        store = new QtPreferenceStore();
        setPreferenceStore(store);
    }
    GeneralPreferencesController::setupDefaults();
    return store;
}
