#include "filelist/InputFilter.h"

#include "app/NonUtf8Names.h"
#include "filelist/FileListAdding.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// "name:why" for every input left out.
QString rejections(const FilteredInputs &filtered, const QString &dir)
{
    static const char *const names[] = {"not-utf8", "unsupported", "missing", "duplicate"};
    QStringList parts;
    for (const RejectedInput &rejected : filtered.rejected)
        parts << QString(rejected.input).remove(dir + u'/') + u':'
                + QLatin1String(names[int(rejected.why)]);
    return parts.join(u' ');
}

TEST(InputFilter, DuplicatesByFileIdentity)
{
    QTemporaryDir tmp;
    const QString d = tmp.path();
    TestSupport::MakeFiles(
        d, {"a.mkv", "A.mkv", "notes.txt", "folder.mkv/x"}); // A.mkv: another file
    ASSERT_TRUE(QFile::link(d + "/a.mkv", d + "/link.mkv"));
    const QByteArray target = QFile::encodeName(d + "/a.mkv");
    ASSERT_EQ(::link(target.constData(), QFile::encodeName(d + "/hard.mkv").constData()), 0);

    const QStringList dropped{d + "/a.mkv", d + "/a.mkv", d + "/link.mkv", d + "/hard.mkv",
        d + "/sub/../A.mkv", d + "/missing.mkv", d + "/notes.txt", d + "/folder.mkv", u""_s};
    std::vector<FileListRow> rows(1); // a row already there
    uint64_t nextId = 41;
    const FilteredInputs filtered = FilterInputs(rows, dropped);
    EXPECT_EQ(rejections(filtered, d),
        "a.mkv:duplicate link.mkv:duplicate hard.mkv:duplicate missing.mkv:missing "
        "notes.txt:unsupported folder.mkv:missing");
    appendRows(rows, filtered.files, nextId, u"Ready"_s);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(fullFileName(rows[1]), d + "/a.mkv");
    EXPECT_EQ(fullFileName(rows[2]), d + "/A.mkv"); // cleaned
    EXPECT_EQ(rows[2].id, 42u);
    EXPECT_EQ(rows[2].no, 3);
    EXPECT_EQ(nextId, 43u);

    // Once listed, neither the file nor any other name of it comes in again.
    EXPECT_TRUE(FilterInputs(rows, dropped).files.empty());
    EXPECT_TRUE(IsFileOnList(rows, d + "/hard.mkv"));
    EXPECT_FALSE(IsFileOnList(rows, d + "/notes.txt"));
    // A row whose file was replaced since still holds its name.
    rows[1].identity.reset();
    EXPECT_TRUE(FilterInputs({rows[1]}, {d + "/a.mkv"}).files.empty());
}

TEST(InputFilter, NamesThatAreNotUtf8AreCountedNeverOpened)
{
    QTemporaryDir tmp;
    const QByteArray base = QFile::encodeName(tmp.path());
    // The file exists: only its name keeps it out.
    const QByteArray bytes = base + "/\xff.mkv";
    ASSERT_EQ(::close(::creat(bytes.constData(), 0644)), 0);
    TestSupport::MakeFiles(tmp.path(), {"good.mkv"});
    const QString odd = DecodeLocalName(bytes);
    const QString oddText = DecodeLocalName(base + "/\xfe.txt");
    const QString good = tmp.path() + u"/good.mkv"_s;

    const QStringList inputs{odd, good, oddText, good, odd};
    const FilteredInputs filtered = FilterInputs({}, inputs);
    ASSERT_EQ(filtered.files.size(), 1u);
    EXPECT_EQ(filtered.files[0].path, good);
    // Before any other rule: a name that cannot be used is not "unsupported".
    EXPECT_EQ(filtered.nonUtf8Inputs(), QStringList({odd, oddText, odd}));
    EXPECT_EQ(filtered.count(InputRejection::Duplicate), 1);

    // The CLI's notes and count come from the same rules.
    QStringList notes;
    int count = 0;
    EXPECT_EQ(FilterInputFiles(inputs, &notes, &count), QStringList{good});
    EXPECT_EQ(count, 3);
    ASSERT_EQ(notes.size(), 4);
    EXPECT_EQ(notes[0], u"skipped \"%1/\\xff.mkv\": the name is not valid UTF-8"_s.arg(tmp.path()));
    EXPECT_EQ(notes[2], u"skipped \"%1\": already listed"_s.arg(good));
    ::unlink(bytes.constData()); // QTemporaryDir cannot name it

    // A relative name in a folder whose name is not UTF-8 is such a name too.
    const QByteArray folder = base + "/\xe9t\xe9";
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    ASSERT_EQ(::close(::creat((folder + "/in.mkv").constData(), 0644)), 0);
    const QByteArray before = QFile::encodeName(QDir::currentPath());
    ASSERT_EQ(::chdir(folder.constData()), 0);
    const FilteredInputs relative = FilterInputs({}, {u"in.mkv"_s});
    ASSERT_EQ(::chdir(before.constData()), 0);
    EXPECT_EQ(relative.nonUtf8Inputs(), QStringList{u"in.mkv"_s});
    ::unlink((folder + "/in.mkv").constData());
    ::rmdir(folder.constData());
}

} // namespace
