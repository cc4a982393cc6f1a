#include "filelist/FileListAdding.h"

#include "app/NonUtf8Names.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

TEST(FileListAdding, FolderWalk)
{
    QTemporaryDir tmp;
    const QString d = tmp.path();
    TestSupport::MakeFiles(d,
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
        TestSupport::MakeFiles(tmp.path() + u"/d"_s.repeated(level), {"f.mkv"});
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

    // Names that are not UTF-8 first, as given: neither loaded nor walked,
    // however they end.
    const QString oddList = DecodeLocalName("/d/\xff.lst");
    const QString oddFolder = DecodeLocalName("/d/\xfeolder");
    const std::vector<DropStep> steps
        = planDrop({u"/d/b.mkv"_s, oddList, oddFolder}, true, isDirectory);
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].kind, DropStep::NotUtf8);
    EXPECT_EQ(steps[0].path, oddList);
    EXPECT_EQ(steps[1].kind, DropStep::NotUtf8);
    EXPECT_EQ(steps[1].path, oddFolder);
    EXPECT_EQ(steps[2].kind, DropStep::AddFile);
}

} // namespace
