#pragma once

#include <QByteArray>
#include <QString>

// Shared helpers of the test programs.
namespace TestSupport {

// Folder of the programs built from tests/tools.
QString ToolsDir();
// Full path of one such program or library.
QString ToolPath(const QString &name);
// tests/fixtures/<relative>.
QString FixturePath(const QString &relative);
// Folder holding quillon, quillon-cli, data/ and lang/.
QString BinDir();

QByteArray ReadFile(const QString &path);
bool WriteFile(const QString &path, const QByteArray &bytes);

} // namespace TestSupport
