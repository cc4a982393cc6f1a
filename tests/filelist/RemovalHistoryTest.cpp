#include "filelist/RemovalHistory.h"

#include "filelist/FileListAdding.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

std::vector<FileListRow> rowsNamed(const QString &names)
{
    std::vector<FileListRow> rows;
    for (const QChar name : names) {
        FileListRow row = newFileListRow(rows.size() + 1, u"/nowhere/"_s + name, 0, u"Ready"_s);
        row.no = int(rows.size()) + 1;
        rows.push_back(row);
    }
    return rows;
}

QString namesOf(const std::vector<FileListRow> &rows)
{
    QString names;
    for (const FileListRow &row : rows)
        names += row.fileName;
    return names;
}

// Takes the rows at these indexes off rows, as the list's model does.
std::vector<RemovedRow> takeAt(std::vector<FileListRow> &rows, const std::vector<int> &indexes)
{
    std::vector<RemovedRow> removed;
    for (auto it = indexes.rbegin(); it != indexes.rend(); ++it) {
        removed.emplace_back(*it, rows[size_t(*it)]);
        rows.erase(rows.begin() + *it);
    }
    return removed; // highest first: the history puts them in order
}

TEST(RemovalHistory, ARemovedBlockComesBackAtItsOldRows)
{
    std::vector<FileListRow> rows = rowsNamed(u"abcdefg"_s);
    RemovalHistory history;
    EXPECT_FALSE(history.canUndo());
    history.keep(takeAt(rows, {1, 2, 3, 5}));
    EXPECT_EQ(namesOf(rows), "aeg");
    ASSERT_TRUE(history.canUndo());

    RemovalHistory::Undo undo = history.takeUndo(rows);
    EXPECT_FALSE(history.canUndo()); // one step: taken is gone
    RestoreRemovedRows(rows, std::move(undo.rows));
    EXPECT_EQ(namesOf(rows), "abcdefg");
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].no, int(i) + 1);
    // In whatever order the removed rows come.
    RestoreRemovedRows(rows, takeAt(rows, {0, 3, 4}));
    EXPECT_EQ(namesOf(rows), "abcdefg");

    // A list shorter now: what was past its end goes to the end, in order.
    history.keep(takeAt(rows, {4, 5, 6}));
    rows.erase(rows.begin(), rows.begin() + 3);
    RestoreRemovedRows(rows, history.takeUndo(rows).rows);
    EXPECT_EQ(namesOf(rows), "defg");
}

TEST(RemovalHistory, KeepsTheLastRemovalOnly)
{
    std::vector<FileListRow> rows = rowsNamed(u"abcd"_s);
    RemovalHistory history;
    history.keep(takeAt(rows, {0}), {1});
    history.keep(takeAt(rows, {2}), {4});
    history.keep({}); // nothing removed: the last removal stays
    const RemovalHistory::Undo undo = history.takeUndo(rows);
    ASSERT_EQ(undo.rows.size(), 1u);
    EXPECT_EQ(undo.rows[0].second.fileName, "d");
    ASSERT_EQ(undo.toAnalyse.size(), 1u);
    EXPECT_EQ(undo.toAnalyse[0], std::make_pair(uint64_t(4), u"/nowhere/d"_s));
    EXPECT_TRUE(history.takeUndo(rows).rows.empty());
}

TEST(RemovalHistory, AnalysesAndFilesAddedAgain)
{
    QTemporaryDir tmp;
    for (const char *name : {"a.mkv", "b.mkv", "c.mkv"})
        ASSERT_TRUE(TestSupport::WriteFile(tmp.filePath(QLatin1String(name)), "data"));
    std::vector<FileListRow> rows;
    uint64_t nextId = 1;
    appendRows(rows,
        FilterInputs({}, {tmp.filePath("a.mkv"), tmp.filePath("b.mkv"), tmp.filePath("c.mkv")})
            .files,
        nextId, u"Ready"_s);

    RemovalHistory history;
    history.keep(takeAt(rows, {0, 1, 2}), {1, 2, 3});
    // An analysis that ends after the removal fills the removed row.
    FileAnalysisCells cells;
    cells.videoCodec = u"AVC"_s;
    EXPECT_TRUE(history.fill(2, cells));
    EXPECT_FALSE(history.fill(99, cells));

    // a.mkv added again meanwhile is not brought back a second time.
    appendRows(rows, FilterInputs(rows, {tmp.filePath("a.mkv")}).files, nextId, u"Ready"_s);
    RemovalHistory::Undo undo = history.takeUndo(rows);
    ASSERT_EQ(undo.rows.size(), 2u);
    EXPECT_EQ(undo.rows[0].second.fileName, "b.mkv");
    EXPECT_EQ(undo.rows[0].second.analysis.videoCodec, "AVC");
    // Only the one whose analysis never came.
    ASSERT_EQ(undo.toAnalyse.size(), 1u);
    EXPECT_EQ(undo.toAnalyse[0], std::make_pair(uint64_t(3), tmp.filePath("c.mkv")));
}

} // namespace
