#include "CommandTestSupport.h"

#include "encoding/OutputName.h"
#include "filelist/FileListAdding.h"
#include "filelist/InputFilter.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

using namespace Qt::StringLiterals;
using CommandTest::Inputs;

namespace {

class OutputNameTest : public ::testing::Test
{
protected:
    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    void touch(const QString &relative) const
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        ASSERT_TRUE(TestSupport::WriteFile(path(relative), "x"));
    }
    OutputPath decide(Inputs &t, const QString &input) const
    {
        return OutputNamePlanner(t.settings, t.strings, &t.sink, OutputNamePlanner::Plan, {input})
            .next(0);
    }

    QTemporaryDir m_dir;
};

TEST_F(OutputNameTest, GetExtFollowsThePage)
{
    Inputs t;
    EXPECT_EQ(GetExt(t.settings, false), u"avi"_s);
    EXPECT_EQ(GetExt(t.settings, true), u".avi"_s);
    t.settings.pcVideoFormat = EncodingSettings::tsMpg;
    EXPECT_EQ(GetExt(t.settings, true), u".mpg"_s);
}

TEST_F(OutputNameTest, BesideTheInputWithTheNewExtension)
{
    touch(u"in.dir/movie.mkv"_s);
    touch(u"in.dir/noext"_s);
    Inputs t;
    OutputPath out = decide(t, path(u"in.dir/movie.mkv"_s));
    EXPECT_EQ(out.action, OutputPath::Convert);
    EXPECT_EQ(out.path, path(u"in.dir/movie.avi"_s));
    EXPECT_EQ(out.doneText, u"Done"_s);
    // The folder's dot is not an extension.
    EXPECT_EQ(decide(t, path(u"in.dir/noext"_s)).path, path(u"in.dir/noext.avi"_s));
    t.settings.pcVideoFormat = EncodingSettings::tsMpg;
    EXPECT_EQ(decide(t, path(u"in.dir/movie.mkv"_s)).path, path(u"in.dir/movie.mpg"_s));
}

TEST_F(OutputNameTest, ExistingOutputPolicies)
{
    touch(u"movie.mkv"_s);
    touch(u"movie.avi"_s);
    struct Case
    {
        int policy;
        OutputPath::Action action;
        QString name, doneText;
    };
    const Case cases[] = {
        {OutputExists::Rename, OutputPath::Convert, u"movie_001.avi"_s, u"OK - Renamed"_s},
        {OutputExists::Overwrite, OutputPath::Convert, u"movie.avi"_s, u"OK - Overwritten"_s},
        {OutputExists::Skip, OutputPath::Skip, u"movie.avi"_s, u"Skipped"_s},
    };
    for (const Case &c : cases) {
        Inputs t;
        t.settings.cbOutputExists = c.policy;
        const OutputPath out = decide(t, path(u"movie.mkv"_s));
        EXPECT_EQ(out.action, c.action) << c.policy;
        EXPECT_EQ(out.path, path(c.name)) << c.policy;
        EXPECT_EQ(out.doneText, c.doneText) << c.policy;
    }
}

TEST_F(OutputNameTest, TheInputIsNeverItsOwnOutput)
{
    touch(u"real/movie.avi"_s);
    ASSERT_EQ(::symlink(path(u"real"_s).toLocal8Bit().constData(),
                  path(u"alias"_s).toLocal8Bit().constData()),
        0);
    ASSERT_TRUE(QDir().mkpath(path(u"hard"_s)));
    ASSERT_EQ(::link(path(u"real/movie.avi"_s).toLocal8Bit().constData(),
                  path(u"hard/movie.avi"_s).toLocal8Bit().constData()),
        0);
    struct Case
    {
        const char *name;
        bool outDir;
        QString folder;
        int policy;
        OutputPath::Action action;
        QString expected, doneText;
    };
    const Case cases[] = {
        {"same text, overwrite", false, {}, OutputExists::Overwrite, OutputPath::Convert,
            u"real/movie_001.avi"_s, u"OK - Renamed"_s},
        {"same text, skip", false, {}, OutputExists::Skip, OutputPath::Skip,
            u"real/movie_001.avi"_s, u"Skipped"_s},
        {"through a folder link", true, u"alias"_s, OutputExists::Overwrite, OutputPath::Convert,
            u"alias/movie_001.avi"_s, u"OK - Renamed"_s},
        {"through a hard link", true, u"hard"_s, OutputExists::Overwrite, OutputPath::Convert,
            u"hard/movie_001.avi"_s, u"OK - Renamed"_s},
    };
    for (const Case &c : cases) {
        Inputs t;
        t.settings.cbOutputExists = c.policy;
        t.settings.rbOutDir = c.outDir;
        t.settings.edOutDir = path(c.folder);
        const OutputPath out = decide(t, path(u"real/movie.avi"_s));
        EXPECT_EQ(out.action, c.action) << c.name;
        EXPECT_EQ(out.path, path(c.expected)) << c.name;
        EXPECT_EQ(out.doneText, c.doneText) << c.name;
    }
    // A different file of the same name is overwritten as asked.
    touch(u"other/movie.avi"_s);
    Inputs t;
    t.settings.cbOutputExists = OutputExists::Overwrite;
    t.settings.rbOutDir = true;
    t.settings.edOutDir = path(u"other"_s);
    EXPECT_EQ(decide(t, path(u"real/movie.avi"_s)).path, path(u"other/movie.avi"_s));
}

TEST_F(OutputNameTest, AReservedNameIsRemovedOnlyWhileItIsTheEmptyFileCreatedForIt)
{
    touch(u"x.mkv"_s);
    Inputs t;
    auto names = std::make_unique<OutputNamePlanner>(
        t.settings, t.strings, &t.sink, OutputNamePlanner::Reserve, QStringList{path(u"x.mkv"_s)});
    EXPECT_EQ(names->next(0).path, path(u"x.avi"_s));
    EXPECT_TRUE(QFileInfo::exists(path(u"x.avi"_s)));
    names->release(path(u"x.avi"_s));
    EXPECT_FALSE(QFileInfo::exists(path(u"x.avi"_s)));

    // Written meanwhile, or replaced by another file: not removed.
    EXPECT_EQ(names->next(0).path, path(u"x.avi"_s));
    ASSERT_TRUE(TestSupport::WriteFile(path(u"x.avi"_s), "converted"));
    names->release(path(u"x.avi"_s));
    EXPECT_EQ(names->next(0).path, path(u"x_001.avi"_s));
    ASSERT_TRUE(TestSupport::WriteFile(path(u"other"_s), {}));
    ASSERT_EQ(::rename(QFile::encodeName(path(u"other"_s)).constData(),
                  QFile::encodeName(path(u"x_001.avi"_s)).constData()),
        0);
    names.reset();
    EXPECT_EQ(TestSupport::ReadFile(path(u"x.avi"_s)), "converted");
    EXPECT_TRUE(QFileInfo::exists(path(u"x_001.avi"_s)));
}

TEST_F(OutputNameTest, OutputFolderSpellingsAndCreation)
{
    touch(u"in/movie.mkv"_s);
    for (const QString &folder : {path(u"out/a/b"_s), path(u"out/a/b/"_s), path(u"out/a/b/."_s)}) {
        Inputs t;
        t.settings.rbOutDir = true;
        t.settings.edOutDir = folder;
        const OutputPath out = decide(t, path(u"in/movie.mkv"_s));
        EXPECT_EQ(out.action, OutputPath::Convert) << folder;
        EXPECT_EQ(out.path, path(u"out/a/b/movie.avi"_s)) << folder;
        EXPECT_TRUE(QFileInfo(path(u"out/a/b"_s)).isDir());
        EXPECT_TRUE(t.sink.warnings.isEmpty());
    }
}

TEST_F(OutputNameTest, FolderThatCannotBeCreated)
{
    touch(u"in/movie.mkv"_s);
    touch(u"blocker"_s);
    for (const QString &folder : {path(u"blocker/sub"_s), QString()}) {
        Inputs t;
        t.settings.rbOutDir = true;
        t.settings.edOutDir = folder;
        const OutputPath out = decide(t, path(u"in/movie.mkv"_s));
        EXPECT_EQ(out.action, OutputPath::Failed);
        EXPECT_EQ(
            t.sink.warnings, QStringList{u"Couldn't create directory \""_s + folder + u"\" !"_s});
    }
}

TEST_F(OutputNameTest, UniqueOutputNameNumbering)
{
    EXPECT_EQ(UniqueOutputName(path(u"free.avi"_s), u"_"_s, 3), path(u"free.avi"_s));
    touch(u"movie.avi"_s);
    EXPECT_EQ(UniqueOutputName(path(u"movie.avi"_s), u"_"_s, 3), path(u"movie_001.avi"_s));
    for (int i = 1; i <= 999; ++i)
        touch(u"movie_%1.avi"_s.arg(i, 3, 10, QChar(u'0')));
    // After 999 the numbers simply grow.
    EXPECT_EQ(UniqueOutputName(path(u"movie.avi"_s), u"_"_s, 3), path(u"movie_1000.avi"_s));
    QFile::remove(path(u"movie_042.avi"_s));
    EXPECT_EQ(UniqueOutputName(path(u"movie.avi"_s), u"_"_s, 3), path(u"movie_042.avi"_s));

    touch(u"plain"_s);
    EXPECT_EQ(UniqueOutputName(path(u"plain"_s), u"-"_s, 1), path(u"plain-1"_s));
    // A dangling link is taken too.
    ASSERT_EQ(::symlink("/nonexistent/target", path(u"plain-1"_s).toLocal8Bit().constData()), 0);
    EXPECT_EQ(UniqueOutputName(path(u"plain"_s), u"-"_s, 1), path(u"plain-2"_s));
}

TEST_F(OutputNameTest, SameFileComparison)
{
    touch(u"a.avi"_s);
    touch(u"b.avi"_s);
    EXPECT_TRUE(IsSameFile(path(u"a.avi"_s), path(u"a.avi"_s)));
    EXPECT_TRUE(IsSameFile(path(u"a.avi"_s), path(u"./a.avi"_s)));
    EXPECT_FALSE(IsSameFile(path(u"a.avi"_s), path(u"b.avi"_s)));
    EXPECT_FALSE(IsSameFile(path(u"a.avi"_s), path(u"missing.avi"_s)));
}

} // namespace

TEST(OutputTree, SubfolderBelowTheAddedFolderAndTheInputsCommonFolder)
{
    const struct
    {
        const char *input, *root, *sub;
    } cases[] = {
        {"/v/Show/Season1/E01.mkv", "/v/Show", "Season1"},
        {"/v/Show/Season1/Extras/x.mkv", "/v/Show/", "Season1/Extras"},
        {"/v/Show/E00.mkv", "/v/Show", ""}, // directly in the added folder
        {"/v/Show2/E01.mkv", "/v/Show", ""}, // a folder that only starts alike
        {"/v/Show/../Other/E01.mkv", "/v/Show", ""}, // ".." never climbs out
        {"/v/Show/./S1/E01.mkv", "/v/Show/.", "S1"},
        {"/v/E01.mkv", "", ""}, // added on its own
        {"/v/S1/E01.mkv", "/", "v/S1"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TreeSubfolder(QString::fromUtf8(c.input), QString::fromUtf8(c.root)),
            QString::fromUtf8(c.sub))
            << c.input << " below " << c.root;

    EXPECT_EQ(CommonFolderOf({u"/v/Show/S1/E01.mkv"_s, u"/v/Show/S2/E01.mkv"_s}), u"/v/Show"_s);
    EXPECT_EQ(CommonFolderOf({u"/v/ab/x.mkv"_s, u"/v/a/y.mkv"_s}), u"/v"_s);
    EXPECT_EQ(CommonFolderOf({u"/v/a/x.mkv"_s}), u"/v/a"_s);
    EXPECT_EQ(CommonFolderOf({u"/v/x.mkv"_s, u"/w/y.mkv"_s}), u"/"_s);
    EXPECT_EQ(CommonFolderOf({}), QString());
}

// The check a user would make: two seasons added as one folder keep their
// folders, and the same episode names no longer collide.
TEST_F(OutputNameTest, AKeptTreeMirrorsTheSubfoldersInsteadOfNumberingTheNames)
{
    touch(u"Show/Season1/E01.mkv"_s);
    touch(u"Show/Season2/E01.mkv"_s);
    touch(u"single/E01.mkv"_s);
    const QStringList inputs{path(u"Show/Season1/E01.mkv"_s), path(u"Show/Season2/E01.mkv"_s),
        path(u"single/E01.mkv"_s)};
    const QStringList roots{path(u"Show"_s), path(u"Show"_s), QString()};

    for (const bool keepTree : {true, false}) {
        SCOPED_TRACE(keepTree);
        QDir(path(u"Out"_s)).removeRecursively();
        Inputs t;
        t.settings.rbOutDir = true;
        t.settings.chOutDirKeepTree = keepTree;
        t.settings.edOutDir = path(u"Out"_s);
        OutputNamePlanner names(t.settings, t.strings, &t.sink, OutputNamePlanner::Reserve, inputs);
        names.setTreeRoots(roots);
        QStringList outputs;
        for (qsizetype i = 0; i < inputs.size(); ++i)
            outputs << names.next(i).path;
        EXPECT_EQ(outputs,
            keepTree ? QStringList({path(u"Out/Season1/E01.avi"_s), path(u"Out/Season2/E01.avi"_s),
                path(u"Out/E01.avi"_s)})
                     : QStringList({path(u"Out/E01.avi"_s), path(u"Out/E01_001.avi"_s),
                         path(u"Out/E01_002.avi"_s)}));
        EXPECT_TRUE(t.sink.warnings.isEmpty());
    }
}

TEST_F(OutputNameTest, APlannedTreeLeavesItsFoldersToTheScriptAndABlockedOneFails)
{
    touch(u"Show/S1/a.mkv"_s);
    touch(u"Show/S1/b.mkv"_s);
    touch(u"Show/S2/c.mkv"_s);
    touch(u"Out/S2"_s); // a file where the folder should be
    const QStringList inputs{
        path(u"Show/S1/a.mkv"_s), path(u"Show/S1/b.mkv"_s), path(u"Show/S2/c.mkv"_s)};
    for (const auto mode : {OutputNamePlanner::Plan, OutputNamePlanner::Reserve}) {
        SCOPED_TRACE(int(mode));
        Inputs t;
        t.settings.rbOutDir = true;
        t.settings.chOutDirKeepTree = true;
        t.settings.edOutDir = path(u"Out"_s);
        OutputNamePlanner names(t.settings, t.strings, &t.sink, mode, inputs);
        names.setTreeRoots(QStringList(3, path(u"Show"_s)));

        const OutputPath a = names.next(0);
        const OutputPath b = names.next(1);
        EXPECT_EQ(a.path, path(u"Out/S1/a.avi"_s));
        EXPECT_EQ(b.path, path(u"Out/S1/b.avi"_s));
        // A script makes each new folder once, before its first file; a
        // listing creates nothing, a run creates it at once.
        EXPECT_EQ(a.newFolder, mode == OutputNamePlanner::Plan ? path(u"Out/S1"_s) : QString());
        EXPECT_EQ(b.newFolder, QString());
        EXPECT_EQ(QFileInfo(path(u"Out/S1"_s)).isDir(), mode == OutputNamePlanner::Reserve);

        EXPECT_EQ(names.next(2).action, OutputPath::Failed);
        EXPECT_EQ(t.sink.warnings,
            QStringList{u"Couldn't create directory \""_s + path(u"Out/S2"_s) + u"\" !"_s});
    }
}

// A season folder that is a link to another disk keeps the name the user
// sees below the added folder, as the folder walk and the adding rules pass
// the file on.
TEST_F(OutputNameTest, AFolderReachedThroughALinkKeepsItsNameInTheTree)
{
    touch(u"elsewhere/Extras/x.mkv"_s);
    ASSERT_TRUE(QDir().mkpath(path(u"Show"_s)));
    ASSERT_TRUE(QFile::link(path(u"elsewhere"_s), path(u"Show/Season1"_s)));
    const QStringList found = folderFiles(path(u"Show"_s));
    const FilteredInputs added = FilterInputs({}, found);
    ASSERT_EQ(added.files.size(), 1u);
    EXPECT_EQ(TreeSubfolder(added.files[0].path, path(u"Show"_s)), u"Season1/Extras"_s);
}
