// The progress window of a run that converts several files at once, fed as
// the driver feeds it: through the window's front end, its calls queued to
// the window and its progress taken from the feeds.
#include "conversion/ConversionFrontEnd.h"
#include "conversion/EncoderOutput.h"
#include "conversion/ProgressFeed.h"
#include "conversion/StatusLine.h"
#include "i18n/AppStrings.h"
#include "settings/SettingsFile.h"
#include "ui/common/Theme.h"
#include "ui/conversion/ProgressWindow.h"
#include "ui/conversion/ProgressWindowLink.h"
#include "ui/conversion/RunningFilesView.h"
#include "ui/conversion/WindowFrontEnd.h"

#include <QApplication>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QScopeGuard>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class RunningFilesWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ConversionWalkStart start;
        start.FileCount = 3;
        start.Jobs = 2;
        start.AbortCaption = QStringLiteral("&Abort");
        frontEnd.walkStarted(start);
        settle();
    }

    // The queued calls reach the window.
    static void settle() { QCoreApplication::processEvents(); }

    void startFile(int fileNo, const QString &name)
    {
        ConversionFileView file;
        file.Row = fileNo - 1;
        file.FileNo = fileNo;
        file.InputFile = QStringLiteral("/videos/") + name;
        file.OutputMarkup = name;
        file.StatusText = QStringLiteral("Please wait...");
        frontEnd.fileStarted(file);
    }

    // One line of a file's FFmpeg output, as its line handler reports it.
    void line(int fileNo, const QString &text, int percent, int batchPercent)
    {
        EncoderProgressUpdate u;
        u.Updated = true;
        u.FileNo = fileNo;
        u.ProgressBar = percent;
        u.Percentage = percent;
        u.SpeedText = SpeedMarkup(QStringLiteral("%1.00x").arg(fileNo));
        u.StatusMarkup = QStringLiteral("<b>") + text + QStringLiteral("</b>");
        u.ViewChange = OutputViewChange::AppendLine;
        u.ViewLine = text;
        u.FileTimeLeftMs = 60000 * fileNo;
        u.FilesDone = 0;
        u.BatchPercentage = batchPercent;
        u.BatchTimeLeftMs = 300000;
        u.WindowCaption = QStringLiteral("Progress: %1%").arg(batchPercent);
        u.ApplicationTitle = QStringLiteral("(1/3) %1 % - Quillon").arg(batchPercent);
        frontEnd.progress(u);
    }

    void endFile(int fileNo, bool succeeded)
    {
        ConversionFileEnd end;
        end.FileNo = fileNo;
        end.Row = fileNo - 1;
        end.Succeeded = succeeded;
        end.StatusMarkup
            = succeeded ? QStringLiteral("<b>Done</b>") : QStringLiteral("<b>Error</b>");
        frontEnd.fileFinished(end);
        settle();
    }

    // "name percent speed" of each row of the list.
    QStringList rows() const
    {
        const RunningFilesModel &m = window.runningFilesView()->files();
        QStringList shown;
        for (int r = 0; r < m.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < RunningFilesModel::ColTimeLeft; ++c)
                cells << m.index(r, c).data().toString();
            shown << cells.join(u' ');
        }
        return shown;
    }

    void click(int row)
    {
        RunningFilesView *list = window.runningFilesView();
        const QRect cell = list->visualRect(list->files().index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    }

    ProgressFeed feed;
    WindowFrontEnd frontEnd{feed};
    TFormProgress window;
    ProgressWindowLink link{frontEnd, &window};
};

TEST_F(RunningFilesWindow, EachRowShowsItsFileAndTheViewFollowsTheChosenOne)
{
    window.show();
    startFile(1, QStringLiteral("a.mkv"));
    startFile(2, QStringLiteral("b.mkv"));
    settle();
    line(1, QStringLiteral("a1"), 10, 5);
    line(2, QStringLiteral("b1"), 30, 13);
    line(1, QStringLiteral("a2"), 20, 17);
    line(2, QStringLiteral("b2"), 60, 27);
    link.drain();

    EXPECT_EQ(rows(), QStringList({"a.mkv 20% 1.00x", "b.mkv 60% 2.00x"}));
    // By default the oldest file: only its lines, its names and status.
    EXPECT_EQ(window.outputText(), "a1\na2");
    EXPECT_EQ(window.inputFileText(), "/videos/a.mkv");
    EXPECT_EQ(window.statusText(), "a2");
    // The bar and the captions tell the batch.
    EXPECT_EQ(window.progressValue(), 27);
    EXPECT_EQ(window.windowTitle(), "Progress: 27%");
    EXPECT_EQ(window.filesDoneText(), "0 of 3 files done");

    // A click shows the other file's whole view at once.
    click(1);
    EXPECT_EQ(window.chosenFileNo(), 2);
    EXPECT_EQ(window.outputText(), "b1\nb2");
    EXPECT_EQ(window.inputFileText(), "/videos/b.mkv");
    line(2, QStringLiteral("b3"), 70, 35);
    line(1, QStringLiteral("a3"), 40, 40);
    link.drain();
    EXPECT_EQ(window.outputText(), "b1\nb2\nb3");
    EXPECT_EQ(rows(), QStringList({"a.mkv 40% 1.00x", "b.mkv 70% 2.00x"}));

    // A file the view does not follow ends: its row goes, the view stays.
    endFile(1, true);
    EXPECT_EQ(rows(), QStringList({"b.mkv 70% 2.00x"}));
    EXPECT_EQ(window.outputText(), "b1\nb2\nb3");
    EXPECT_EQ(window.filesDoneText(), "1 of 3 files done");

    // The next file to start is not chosen while another is.
    startFile(3, QStringLiteral("c.mkv"));
    settle();
    line(3, QStringLiteral("c1"), 5, 50);
    link.drain();
    EXPECT_EQ(window.chosenFileNo(), 2);
    EXPECT_EQ(window.outputText(), "b1\nb2\nb3");
}

TEST_F(RunningFilesWindow, WhenTheChosenFileEndsTheViewMovesToTheNextOldest)
{
    startFile(1, QStringLiteral("a.mkv"));
    startFile(2, QStringLiteral("b.mkv"));
    settle();
    line(1, QStringLiteral("a1"), 10, 5);
    line(2, QStringLiteral("b1"), 30, 20);
    line(2, QStringLiteral("b2"), 40, 25);
    link.drain();
    EXPECT_EQ(window.outputText(), "a1");

    endFile(1, true);
    EXPECT_EQ(rows(), QStringList({"b.mkv 40% 2.00x"}));
    EXPECT_EQ(window.chosenFileNo(), 2);
    EXPECT_EQ(window.outputText(), "b1\nb2");
    EXPECT_EQ(window.inputFileText(), "/videos/b.mkv");
    EXPECT_EQ(window.statusText(), "b2");

    // The last running file fails: its filtered output and its outcome stay
    // on show.
    frontEnd.outputShown(QStringLiteral("Input #0\nInvalid data found"));
    frontEnd.errorLogged({QStringLiteral("b.mkv")}, 1);
    endFile(2, false);
    EXPECT_EQ(window.outputText(), "Input #0\nInvalid data found");
    EXPECT_EQ(window.statusText(), "Error");
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(window.filesDoneText(), "2 of 3 files done");

    // The run's end shows the filtered output of the file that ended last.
    ConversionRunEnd runEnd;
    runEnd.OutputText = QStringLiteral("Input #0\nlast");
    runEnd.AbortCaption = QStringLiteral("Close");
    frontEnd.runFinished(runEnd);
    settle();
    EXPECT_EQ(window.outputText(), "Input #0\nlast");
    EXPECT_EQ(window.chosenFileNo(), 0);
}

TEST_F(RunningFilesWindow, TheListIsReachedByKeysAndNamed)
{
    startFile(1, QStringLiteral("a.mkv"));
    startFile(2, QStringLiteral("b.mkv"));
    settle();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    RunningFilesView *list = window.runningFilesView();
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->accessibleName(), "Running files");
    // Tab from the Abort button, where the window starts, comes round to it.
    bool reached = false;
    for (int i = 0; i < 20 && !reached; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached = QApplication::focusWidget() == list;
    }
    ASSERT_TRUE(reached);
    line(2, QStringLiteral("b1"), 30, 20);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(window.chosenFileNo(), 2);
    EXPECT_EQ(window.outputText(), "b1");
}

// At the smallest size and in every language: the batch's bar and files
// done, two running files, and their captions have room. QLN_SHOT_DIR set:
// the window at its usual size is saved there as it looks in each language.
TEST_F(RunningFilesWindow, EveryPartHasRoomInEveryLanguage)
{
    startFile(1, QStringLiteral("A rather long name of a video file to convert.mkv"));
    startFile(2, QStringLiteral("b.mkv"));
    settle();
    line(1, QStringLiteral("frame=  162 fps= 50 q=2.0 size=     256kB time=00:00:06.48"), 42, 30);
    line(2, QStringLiteral("frame=  98 fps= 33 q=2.0 size=     128kB time=00:00:03.92"), 17, 30);
    link.drain();
    window.setTimes(75000, 60000, 300000);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QString shots = qEnvironmentVariable("QLN_SHOT_DIR");
    const QString theme = qEnvironmentVariable("QLN_SHOT_THEME");
    if (!shots.isEmpty())
        ApplyTheme(ThemeFromText(theme));
    const auto platformLook = qScopeGuard([&] {
        if (!shots.isEmpty())
            ApplyTheme(AppTheme::System);
    });
    const QString dir = QStringLiteral(QLN_SOURCE_DIR "/lang/");
    for (const char *language :
        {"English", "German", "French", "Spanish", "Polish", "Portuguese_BR", "Russian"}) {
        SCOPED_TRACE(language);
        TAppStrings strings;
        strings.LoadFromFile(dir + QLatin1String(language) + QStringLiteral(".ini"));
        window.SetLang(strings);
        for (const QSize size : {QSize(ProgressSettings::MinWidth, ProgressSettings::MinHeight),
                 QSize(ProgressSettings().Width, ProgressSettings().Height)}) {
            window.resize(size);
            QCoreApplication::processEvents();
            auto *done = window.findChild<QLabel *>(QStringLiteral("lblFilesDone"));
            ASSERT_TRUE(done);
            EXPECT_GE(done->width(), done->sizeHint().width()) << done->text().toStdString();
            EXPECT_GE(window.findChild<QProgressBar *>()->width(), 100);
            RunningFilesView *list = window.runningFilesView();
            const QHeaderView *header = list->header();
            EXPECT_GE(list->viewport()->height(), 2 * list->sizeHintForRow(0));
            for (int column = 0; column < RunningFilesModel::ColumnCount; ++column) {
                const QString caption
                    = list->files().headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
                EXPECT_GE(
                    header->sectionSize(column), header->fontMetrics().horizontalAdvance(caption))
                    << caption.toStdString();
                EXPECT_LE(header->sectionViewportPosition(column) + header->sectionSize(column),
                    list->viewport()->width())
                    << caption.toStdString();
            }
        }
        if (!shots.isEmpty())
            window.grab().save(
                QStringLiteral("%1/progress-%2-%3.png").arg(shots, theme, QLatin1String(language)));
    }
}

} // namespace
