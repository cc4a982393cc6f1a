#include "FuzzSupport.h"

#include <QFile>
#include <QTemporaryDir>

namespace Fuzz {

QString scratchDir()
{
    static QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no scratch folder: %s\n", qPrintable(dir.errorString()));
        std::abort();
    }
    return dir.path();
}

QString writeScratchFile(const QString &name, const QByteArray &bytes)
{
    const QString path = scratchDir() + u'/' + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::abort();
    }
    return path;
}

} // namespace Fuzz
