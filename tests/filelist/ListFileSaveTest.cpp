#include "filelist/ListFileSave.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(ListFileSave, EveryRowInOrderAndFailuresNamed)
{
    std::vector<FileListRow> rows{
        newFileListRow(1, u"/v/ünï b.avi"_s, 0, {}), newFileListRow(2, u"/a.mkv"_s, 0, {})};
    rows[1].active = false;
    QTemporaryDir dir;
    const QString file = dir.filePath(u"list.lst"_s);
    ASSERT_TRUE(TestSupport::WriteFile(file, QByteArray(500, 'x'))); // a longer old list
    QString error;
    ASSERT_TRUE(saveListFile(file, listFilePaths(rows), &error)) << error.toStdString();
    EXPECT_EQ(TestSupport::ReadFile(file), u"/v/ünï b.avi\r\n/a.mkv\r\n"_s.toUtf8());

    const QString below = file + u"/list.lst"_s; // below a regular file
    EXPECT_FALSE(saveListFile(below, {u"/v/a.mkv"_s}, &error));
    EXPECT_TRUE(error.contains(below)) << error.toStdString();
}

} // namespace
