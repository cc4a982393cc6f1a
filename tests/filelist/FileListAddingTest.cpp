#include "filelist/FileListAdding.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

void makeFiles(const QString &dir, std::initializer_list<const char *> files)
{
    for (const char *file : files) {
        const QString path = dir + u'/' + QLatin1String(file);
        ASSERT_TRUE(QDir().mkpath(directoryOfPath(path)));
        ASSERT_TRUE(TestSupport::WriteFile(path, "data"));
    }
}

TEST(FileListAdding, DuplicatesByFileIdentity)
{
    QTemporaryDir tmp;
    const QString d = tmp.path();
    makeFiles(d, {"a.mkv", "A.mkv", "notes.txt", "folder.mkv/x"}); // A.mkv: another file
    ASSERT_TRUE(QFile::link(d + "/a.mkv", d + "/link.mkv"));
    const QByteArray target = QFile::encodeName(d + "/a.mkv");
    ASSERT_EQ(::link(target.constData(), QFile::encodeName(d + "/hard.mkv").constData()), 0);

    const QStringList dropped{d + "/a.mkv", d + "/a.mkv", d + "/link.mkv", d + "/hard.mkv",
        d + "/sub/../A.mkv", d + "/missing.mkv", d + "/notes.txt", d + "/folder.mkv"};
    std::vector<FileListRow> rows(1); // a row already there
    uint64_t nextId = 41;
    appendRows(rows, filesToAdd(rows, dropped), nextId, u"Ready"_s);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(fullFileName(rows[1]), d + "/a.mkv");
    EXPECT_EQ(fullFileName(rows[2]), d + "/A.mkv"); // cleaned
    EXPECT_EQ(rows[2].id, 42u);
    EXPECT_EQ(rows[2].no, 3);
    EXPECT_EQ(nextId, 43u);

    // Once listed, neither the file nor any other name of it comes in again.
    EXPECT_TRUE(filesToAdd(rows, dropped).empty());
    EXPECT_TRUE(IsFileOnList(rows, d + "/hard.mkv"));
    EXPECT_FALSE(IsFileOnList(rows, d + "/notes.txt"));
    // A row whose file was replaced since still holds its name.
    rows[1].identity.reset();
    EXPECT_TRUE(filesToAdd({rows[1]}, {d + "/a.mkv"}).empty());
}

TEST(FileListAdding, FolderWalk)
{
    QTemporaryDir tmp;
    const QString d = tmp.path();
    makeFiles(d,
        {"b.mkv", ".hidden.avi", "x.txt", "A.mp4", "c/2.mkv", "B/1.mkv", "a/3.mkv", "a-b/4.mkv",
            ".h/5.mkv", "a/x/6.mkv"});
    ASSERT_TRUE(QFile::link(d, d + "/a/loop")); // back up to the top
    ASSERT_TRUE(QFile::link(d + "/nowhere", d + "/a/dangling.mkv"));

    // Folders by their whole path, without regard to case: "a" < "a-b" < "a/x" < "B".
    const QStringList files = folderFiles(d);
    EXPECT_EQ(files.join(u' ').remove(d + u'/').toStdString(),
        ".hidden.avi A.mp4 b.mkv .h/5.mkv a/3.mkv a-b/4.mkv a/x/6.mkv B/1.mkv c/2.mkv");
    EXPECT_EQ(folderFiles(d + "/nothing"), QStringList());

    // In batches; a cancelled walk stops and says so.
    std::vector<qsizetype> sizes;
    EXPECT_TRUE(walkFolder(
        d, [&](const QStringList &b) { sizes.push_back(b.size()); }, nullptr, 4));
    EXPECT_EQ(sizes, (std::vector<qsizetype>{4, 4, 1}));
    std::atomic<bool> cancelled = false;
    sizes.clear();
    const auto cancelAfterFirst = [&](const QStringList &b) {
        sizes.push_back(b.size());
        cancelled = true;
    };
    EXPECT_FALSE(walkFolder(d, cancelAfterFirst, &cancelled, 2));
    EXPECT_EQ(sizes.size(), 1u);
}

TEST(FileListAdding, FolderWalkGoesTwentyLevelsDown)
{
    QTemporaryDir tmp;
    for (int level = 0; level <= 25; ++level)
        makeFiles(tmp.path() + u"/d"_s.repeated(level), {"f.mkv"});
    const QStringList files = folderFiles(tmp.path());
    ASSERT_EQ(files.size(), 21);
    EXPECT_EQ(files.last(), tmp.path() + u"/d"_s.repeated(20) + u"/f.mkv"_s);
}

TEST(FileListAdding, DropOrder)
{
    const auto isDirectory = [](const QString &path) { return path.endsWith(u"older"_s); };
    const QStringList dropped{u"/d/Zeta.mkv"_s, u""_s, u"/d/list.LST"_s, u"/d/Folder"_s,
        u"/d/alpha.mkv"_s, u"/d/folder.lst/b.lst"_s};
    for (bool accept : {true, false}) {
        QString plan;
        for (const DropStep &step : planDrop(dropped, accept, isDirectory))
            plan += QStringLiteral("%1 %2;").arg(int(step.kind)).arg(fileNameOfPath(step.path));
        EXPECT_EQ(plan,
            accept ? u"2 alpha.mkv;1 Folder;0 b.lst;0 list.LST;2 Zeta.mkv;"_s
                   : u"2 alpha.mkv;2 Folder;0 b.lst;0 list.LST;2 Zeta.mkv;"_s);
    }
}

} // namespace
