// Whole files as QByteArray under QString paths, for the Qt tests: the same reader and writer as
// FileContent.h.
#pragma once

#include "FileContent.h"

#include <QByteArray>
#include <QString>

namespace testsupport {

// The file's bytes; empty when it cannot be read.
QByteArray readFile(const QString& path);
// Replaces the file with bytes; false when it cannot be written whole.
bool writeFile(const QString& path, const QByteArray& bytes);

} // namespace testsupport
