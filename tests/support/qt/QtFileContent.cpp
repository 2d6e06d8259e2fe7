#include "QtFileContent.h"

#include <QFile>

namespace testsupport {

QByteArray readFile(const QString& path) {
    return QByteArray::fromStdString(readFile(QFile::encodeName(path).toStdString()));
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    return writeFile(QFile::encodeName(path).toStdString(), bytes.toStdString());
}

} // namespace testsupport
