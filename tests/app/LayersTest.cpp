#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <functional>
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

namespace {

// The folder a path of src/ belongs to: "cli", "ui" for the files at the
// top of ui/, "ui/<folder>" for those inside it, else its first folder.
QString frontEndFolder(const QString &relative)
{
    const QStringList parts = relative.split(u'/');
    if (parts.first() == QLatin1String("ui") && parts.size() > 2)
        return parts.mid(0, 2).join(u'/');
    return parts.first();
}

// A folder that reaches itself again through the includes; empty when none.
QString circleThrough(const QMap<QString, QSet<QString>> &uses)
{
    QMap<QString, int> state; // 1 on the path being walked, 2 done
    std::function<QString(const QString &)> walk = [&](const QString &folder) -> QString {
        state[folder] = 1;
        for (const QString &next : uses.value(folder)) {
            if (state.value(next) == 1)
                return folder + QStringLiteral(" -> ") + next;
            if (state.value(next) == 0)
                if (QString found = walk(next); !found.isEmpty())
                    return folder + QStringLiteral(" -> ") + found;
        }
        state[folder] = 2;
        return {};
    };
    for (auto it = uses.cbegin(); it != uses.cend(); ++it)
        if (state.value(it.key()) == 0)
            if (QString found = walk(it.key()); !found.isEmpty())
                return found;
    return {};
}

} // namespace

// The two front ends never include each other, and the folders of the
// windows depend on each other without a circle.
TEST(Layers, FrontEndsStayApartAndWindowFoldersFormNoCircle)
{
    const QString src = QStringLiteral(QLN_SOURCE_DIR "/src");
    static const QRegularExpression include(
        QStringLiteral("^#include \"((?:ui|cli)/[^\"]+)\""), QRegularExpression::MultilineOption);
    QMap<QString, QSet<QString>> uses;
    int checked = 0;
    for (const QString &frontEnd : {QStringLiteral("ui"), QStringLiteral("cli")}) {
        QDirIterator files(src + u'/' + frontEnd, {QStringLiteral("*.h"), QStringLiteral("*.cpp")},
            QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            const QString folder = frontEndFolder(path.mid(src.size() + 1));
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
            const QString text = QString::fromUtf8(file.readAll());
            for (auto m = include.globalMatch(text); m.hasNext();) {
                const QString used = frontEndFolder(m.next().captured(1));
                EXPECT_EQ(used.section(u'/', 0, 0).toStdString(), frontEnd.toStdString())
                    << path.toStdString() << " includes from " << used.toStdString();
                if (used != folder)
                    uses[folder].insert(used);
                ++checked;
            }
        }
    }
    EXPECT_EQ(circleThrough(uses).toStdString(), "");
    EXPECT_GT(uses.size(), 6);
    EXPECT_GT(checked, 100);
}
