#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace TestSupport {

QString ToolsDir()
{
    return QStringLiteral(QLN_TEST_TOOLS_DIR);
}

QString ToolPath(const QString &name)
{
    return ToolsDir() + u'/' + name;
}

QString FixturePath(const QString &relative)
{
    return QStringLiteral(QLN_FIXTURES_DIR) + u'/' + relative;
}

QString BinDir()
{
    return QStringLiteral(QLN_BIN_DIR);
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace TestSupport
