#include "filelist/ListFileSave.h"
#include "filelist/ListFile.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(ListFileSave, EveryRowInOrderReplacingTheOldList)
{
    std::vector<FileListRow> rows{newFileListRow(1, u"/v/ünï b.avi"_s, 0, {}),
        newFileListRow(2, u"/a.mkv"_s, 0, {}), newFileListRow(3, u"/v/c.mp4"_s, 0, {})};
    rows[1].active = false;
    QTemporaryDir dir;
    const QString file = dir.filePath(u"list.lst"_s);
    ASSERT_TRUE(TestSupport::WriteFile(file, QByteArray(500, 'x')));

    QString error;
    ASSERT_TRUE(saveListFile(file, listFilePaths(rows), &error)) << error.toStdString();
    EXPECT_EQ(TestSupport::ReadFile(file), u"/v/ünï b.avi\r\n/a.mkv\r\n/v/c.mp4\r\n"_s.toUtf8());
    QStringList lines;
    ASSERT_TRUE(ReadListFile(file, lines));
    EXPECT_EQ(lines.size(), 3);
}

TEST(ListFileSave, FailureIsReportedWithTheFileName)
{
    QTemporaryDir dir;
    const QString blocker = dir.filePath(u"file"_s);
    ASSERT_TRUE(TestSupport::WriteFile(blocker, "x"));
    const QString below = blocker + u"/list.lst"_s; // a folder that cannot exist
    QString error;
    EXPECT_FALSE(saveListFile(below, {u"/v/a.mkv"_s}, &error));
    EXPECT_TRUE(error.contains(below)) << error.toStdString();
    EXPECT_EQ(TestSupport::ReadFile(blocker), "x");
}

} // namespace
