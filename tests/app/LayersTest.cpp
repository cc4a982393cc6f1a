#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

// The folders of src/ from the bottom up: each includes only from those
// before it, so no two folders depend on each other. The front ends may
// include from every layer.
TEST(Layers, NoFolderIncludesFromALayerAboveIt)
{
    const QStringList layers{QStringLiteral("process"), QStringLiteral("app"),
        QStringLiteral("settings"), QStringLiteral("i18n"), QStringLiteral("analysis"),
        QStringLiteral("filelist"), QStringLiteral("encoding"), QStringLiteral("conversion")};
    const QString src = QStringLiteral(QLN_SOURCE_DIR "/src");
    static const QRegularExpression include(
        QStringLiteral("^#include \"([a-z0-9]+)/"), QRegularExpression::MultilineOption);
    int checked = 0;
    QDirIterator files(src, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
        QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        const QString folder = path.mid(src.size() + 1).section(u'/', 0, 0);
        const qsizetype level = layers.indexOf(folder);
        if (level < 0)
            continue; // cli/ and ui/
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QString text = QString::fromUtf8(file.readAll());
        for (auto m = include.globalMatch(text); m.hasNext();) {
            const QString used = m.next().captured(1);
            const qsizetype usedLevel = layers.indexOf(used);
            EXPECT_TRUE(usedLevel >= 0 && usedLevel <= level)
                << path.toStdString() << " includes from " << used.toStdString();
            ++checked;
        }
    }
    EXPECT_GT(checked, 100);
}
