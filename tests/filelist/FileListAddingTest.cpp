#include "filelist/FileListAdding.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

void makeFile(const QString &path)
{
    ASSERT_TRUE(QDir().mkpath(directoryOfPath(path)));
    ASSERT_TRUE(TestSupport::WriteFile(path, "data"));
}

// Paths below dir, for short expectations.
QString relative(const QStringList &paths, const QString &dir)
{
    QStringList result;
    for (const QString &path : paths)
        result.append(path.mid(dir.size() + 1));
    return result.join(u' ');
}

TEST(FileListAdding, DuplicatesByFileIdentity)
{
    QTemporaryDir tmp;
    const QString d = tmp.path();
    makeFile(d + "/a.mkv");
    makeFile(d + "/A.mkv"); // another file on Linux
    makeFile(d + "/notes.txt");
    ASSERT_TRUE(QDir().mkpath(d + "/folder.mkv"));
    ASSERT_TRUE(QFile::link(d + "/a.mkv", d + "/link.mkv"));
    ASSERT_EQ(::link(QFile::encodeName(d + "/a.mkv").constData(),
                  QFile::encodeName(d + "/hard.mkv").constData()),
        0);

    const QStringList dropped{d + "/a.mkv", d + "/a.mkv", d + "/link.mkv", d + "/hard.mkv",
        d + "/sub/../A.mkv", d + "/missing.mkv", d + "/notes.txt", d + "/folder.mkv"};
    std::vector<FileListRow> rows;
    std::vector<FileToAdd> files = filesToAdd(rows, dropped);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].path, d + "/a.mkv");
    EXPECT_EQ(files[1].path, d + "/A.mkv"); // cleaned
    EXPECT_EQ(files[0].facts.size, 4);

    uint64_t nextId = 41;
    rows.resize(1); // a row already there
    appendRows(rows, files, nextId, u"Ready"_s);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2].id, 42u);
    EXPECT_EQ(rows[2].no, 3);
    EXPECT_EQ(nextId, 43u);
    EXPECT_EQ(rows[1].size, 4);
    EXPECT_EQ(rows[1].status, u"Ready"_s);

    // Once listed, neither the file nor any other name of it comes in again.
    EXPECT_TRUE(filesToAdd(rows, dropped).empty());
    EXPECT_TRUE(IsFileOnList(rows, d + "/hard.mkv"));
    EXPECT_FALSE(IsFileOnList(rows, d + "/notes.txt"));
    // A row whose file was replaced since still holds its name.
    rows[1].identity.reset();
    EXPECT_TRUE(filesToAdd({rows[1]}, {d + "/a.mkv"}).empty());
}

TEST(FileListAdding, FolderWalkOrderHiddenFilesAndLoop)
{
    QTemporaryDir tmp;
    const QString d = tmp.path();
    for (const char *file : {"b.mkv", ".hidden.avi", "x.txt", "A.mp4", "c/2.mkv", "B/1.mkv",
             "a/3.mkv", "a-b/4.mkv", ".h/5.mkv", "a/x/6.mkv"})
        makeFile(d + u'/' + QLatin1String(file));
    ASSERT_TRUE(QFile::link(d, d + "/a/loop")); // back up to the top
    ASSERT_TRUE(QFile::link(d + "/nowhere", d + "/a/dangling.mkv"));

    // Folders by their whole path: "a" before "a-b" before "a/x".
    EXPECT_EQ(relative(folderFiles(d), d).toStdString(),
        ".hidden.avi A.mp4 b.mkv .h/5.mkv a/3.mkv a-b/4.mkv a/x/6.mkv B/1.mkv c/2.mkv");
    EXPECT_EQ(folderFiles(d + "/nothing"), QStringList());

    // In batches; a cancelled walk stops and says so.
    std::vector<qsizetype> sizes;
    EXPECT_TRUE(walkFolder(
        d, [&](const QStringList &b) { sizes.push_back(b.size()); }, nullptr, 4));
    EXPECT_EQ(sizes, (std::vector<qsizetype>{4, 4, 1}));
    std::atomic<bool> cancelled = false;
    int batches = 0;
    const auto cancelAfterFirst = [&](const QStringList &) {
        ++batches;
        cancelled = true;
    };
    EXPECT_FALSE(walkFolder(d, cancelAfterFirst, &cancelled, 2));
    EXPECT_EQ(batches, 1);
}

TEST(FileListAdding, FolderWalkGoesTwentyLevelsDown)
{
    QTemporaryDir tmp;
    QString dir = tmp.path();
    for (int level = 0; level <= 25; ++level) {
        makeFile(dir + u"/f.mkv"_s);
        dir += u"/d"_s;
    }
    const QStringList files = folderFiles(tmp.path());
    ASSERT_EQ(files.size(), 21);
    EXPECT_EQ(files.last(), tmp.path() + u"/d"_s.repeated(20) + u"/f.mkv"_s);
}

TEST(FileListAdding, DropOrder)
{
    const auto isDirectory = [](const QString &path) { return path.endsWith(u"older"_s); };
    const QStringList dropped{u"/d/Zeta.mkv"_s, u""_s, u"/d/list.LST"_s, u"/d/Folder"_s,
        u"/d/alpha.mkv"_s, u"/d/folder.lst/b.lst"_s};
    const auto plan = [&](bool acceptFolders) {
        QString text;
        for (const DropStep &step : planDrop(dropped, acceptFolders, isDirectory))
            text += QStringLiteral("%1 %2;").arg(int(step.kind)).arg(fileNameOfPath(step.path));
        return text;
    };
    EXPECT_EQ(plan(true), u"2 alpha.mkv;1 Folder;0 b.lst;0 list.LST;2 Zeta.mkv;"_s);
    EXPECT_EQ(plan(false), u"2 alpha.mkv;2 Folder;0 b.lst;0 list.LST;2 Zeta.mkv;"_s);
}

} // namespace
