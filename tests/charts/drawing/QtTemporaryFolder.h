#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>

#include "tests/support/FileContents.h"
#include "tests/support/TemporaryFolder.h"

namespace kelvane::testing {

// A new, empty temporary folder as Qt names it (a QDir), removed with all it holds when it ends.
class QtTemporaryFolder : private TemporaryFolder, public QDir {
public:
    // TemporaryFolder, a base named first, is made before the QDir that names it.
    QtTemporaryFolder() : QDir(QString::fromStdU16String(Path().u16string())) {}
};

// The bytes of the file at `path`, unchanged; empty when it cannot be read.
inline QByteArray Contents(const QString& path) {
    return QByteArray::fromStdString(FileContents(path.toStdU16String()));
}

}  // namespace kelvane::testing
