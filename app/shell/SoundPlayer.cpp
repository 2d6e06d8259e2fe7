#include "SoundPlayer.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

SoundPlayer::SoundPlayer() {
    fFolder = QCoreApplication::applicationDirPath() + "/../share/VeskBarcode/sounds";
    for (const char* player : {"paplay", "aplay"}) {
        fPlayer = QStandardPaths::findExecutable(player);
        if (!fPlayer.isEmpty())
            break;
    }
}

void SoundPlayer::play(const std::string& name) const {
    if (fPlayer.isEmpty())
        return;
    QString file = fFolder + "/" + QString::fromStdString(name.empty() ? std::string("Frog") : name) + ".wav";
    if (!QFileInfo::exists(file))
        return;
    QProcess process;
    process.setProgram(fPlayer);
    process.setArguments({file});
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.startDetached();
}
