#include "SettingsPanelSupport.h"

#include "support/TestSupport.h"
#include "ui/settings/CommandLineWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

// Sets an environment variable for the life of the object.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const QByteArray &value)
        : m_name(name)
        , m_old(qgetenv(name))
        , m_had(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    QByteArray m_old;
    bool m_had;
};

} // namespace

// The panel on files the real FFmpeg generates and analyses.
class SettingsPanelFileTest : public SettingsPanelTest
{
protected:
    static void SetUpTestSuite()
    {
        s_ffmpeg = TestSupport::SystemFFmpeg();
        s_mediaInfo = TestSupport::SystemMediaInfo();
        if (s_ffmpeg.isEmpty())
            return;
        s_dir = new QTemporaryDir;
        s_twoTracks = s_dir->filePath(u"it's a clip.mkv"_s);
        s_oneTrack = s_dir->filePath(u"one.mkv"_s);
        const auto generate = [](const QStringList &args) {
            QProcess ffmpeg;
            ffmpeg.start(s_ffmpeg,
                QStringList{u"-hide_banner"_s, u"-loglevel"_s, u"error"_s, u"-y"_s, u"-f"_s,
                    u"lavfi"_s, u"-i"_s, u"testsrc=size=160x120:rate=25:duration=1"_s, u"-f"_s,
                    u"lavfi"_s, u"-i"_s, u"sine=sample_rate=48000:duration=1"_s}
                    + args);
            return ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0;
        };
        if (!generate({u"-map"_s, u"0:v"_s, u"-map"_s, u"1:a"_s, u"-map"_s, u"1:a"_s, u"-c:v"_s,
                u"mpeg4"_s, u"-c:a:0"_s, u"ac3"_s, u"-c:a:1"_s, u"mp2"_s, s_twoTracks})
            || !generate({u"-c:v"_s, u"mpeg4"_s, u"-c:a"_s, u"mp2"_s, s_oneTrack}))
            s_twoTracks.clear();
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }
    void SetUp() override
    {
        if (s_twoTracks.isEmpty())
            QLN_SKIP_MISSING() << "needs ffmpeg";
        SettingsPanelTest::SetUp();
        // The data files the command-line program reads beside itself.
        TAppParams params = DefaultAppParams(TestSupport::BinDir());
        params.ProfilesDir = m_params.ProfilesDir;
        params.LastProfileFile = m_params.LastProfileFile;
        params.ffmpeg = s_ffmpeg;
        params.MediaInfoDll = s_mediaInfo;
        m_params = params;
        m_panel.setParams(m_params);
    }
    // Selects a file and waits for its analysis.
    void select(const QString &file)
    {
        QSignalSpy analysed(&m_panel, &ConversionSettingsPanel::selectedFileAnalysed);
        m_panel.setSelectedFile(file);
        ASSERT_TRUE(analysed.wait(60000));
    }

    static inline QString s_ffmpeg, s_mediaInfo, s_twoTracks, s_oneTrack;
    static inline QTemporaryDir *s_dir = nullptr;
};

TEST_F(SettingsPanelFileTest, PreviewIsTheCommandLineProgramsPreview)
{
    box("cbAviVideoCodec")->setCurrentIndex(2);
    type("cbAviVideoBitrate", u"1200"_s);
    w<QCheckBox>("chAviVideo2Pass")->setChecked(true);
    box("cbAudioCodec")->setCurrentIndex(1);
    w<QSlider>("tbAudioVolume")->setValue(150);
    box("cbResolution")->setCurrentIndex(3);
    w<QCheckBox>("chBrightness")->setChecked(true);
    w<QSlider>("tbBrightness")->setValue(5);
    select(s_twoTracks);
    ASSERT_EQ(box("cbAudioTrackNo")->count(), 3); // automatic, then the two streams
    box("cbAudioTrackNo")->setCurrentIndex(2);

    m_panel.action("actShowCmdLine")->trigger();
    TFormCmdLine *window = m_panel.commandLineWindow();
    ASSERT_TRUE(window->isVisible());
    const QString shown = window->text();

    const QString profile = m_dir.filePath(u"p.ini"_s);
    ASSERT_TRUE(m_panel.saveProfileAs(profile));
    const TestSupport::CliRun cli = TestSupport::RunCli({u"--ffmpeg"_s, s_ffmpeg, u"command"_s,
        u"--preview"_s, s_twoTracks, u"--profile"_s, profile, u"--audio-track"_s, u"2"_s});
    ASSERT_EQ(cli.exitCode, 0) << cli.err.toStdString();
    EXPECT_EQ(shown + u'\n', cli.out);
    EXPECT_TRUE(shown.contains(u"-map 0:0 -map 0:2"_s));

    // Narrow, lines break only at blanks, never inside an option nor between
    // it and its value; Copy and a copied selection give the exact text.
    window->resize(window->minimumSize());
    QApplication::processEvents();
    auto *view = window->findChild<QPlainTextEdit *>(u"me"_s);
    int breaks = 0;
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next()) {
        const QString line = shown.section(u'\n', block.blockNumber(), block.blockNumber());
        for (int i = 1; i < block.layout()->lineCount(); ++i, ++breaks) {
            const int at = block.layout()->lineAt(i).textStart();
            const QString before = line.left(at).trimmed().section(u' ', -1);
            const QString after = line.mid(at).section(u' ', 0, 0);
            EXPECT_EQ(line.at(at - 1), u' ') << line.left(at).toStdString();
            EXPECT_FALSE(before.startsWith(u'-') && !after.startsWith(u'-'))
                << before.toStdString() << " | " << after.toStdString();
        }
    }
    EXPECT_GT(breaks, 2);
    window->findChild<QPushButton *>(u"btnCopy"_s)->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), shown);
    view->selectAll();
    view->copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), shown);

    // A setting changed while the window is shown changes the text at once.
    type("cbAviVideoBitrate", u"900"_s);
    EXPECT_TRUE(window->text().contains(u"-b:v 900k"_s));

    // The run form for a shell: the real output name, one line per pass.
    window->findChild<QPushButton *>(u"btnCopyShellCommand"_s)->click();
    const QStringList lines = QGuiApplication::clipboard()->text().split(u'\n');
    ASSERT_EQ(lines.size(), 2);
    const QString quotedInput = s_dir->filePath(u"it'\\''s a clip.mkv'"_s);
    for (int pass = 1; pass <= 2; ++pass) {
        const QString &line = lines.at(pass - 1);
        EXPECT_TRUE(line.startsWith(u'\'' + s_ffmpeg + u"' -y -i '"_s + quotedInput))
            << line.toStdString();
        EXPECT_TRUE(line.contains(u"-preset:v faster -pass %1 "_s.arg(pass)));
        EXPECT_TRUE(line.endsWith(u'\'' + s_dir->filePath(u"it'\\''s a clip.avi'"_s)))
            << line.toStdString();
    }
}

TEST_F(SettingsPanelFileTest, ALaterSelectionDropsTheEarlierAnalysis)
{
    QSignalSpy analysed(&m_panel, &ConversionSettingsPanel::selectedFileAnalysed);
    m_panel.setSelectedFile(s_twoTracks);
    m_panel.setSelectedFile(s_oneTrack);
    ASSERT_TRUE(analysed.wait(60000));
    QTest::qWait(300);
    ASSERT_EQ(analysed.count(), 1);
    EXPECT_EQ(analysed.at(0).at(0).toString(), s_oneTrack);
    EXPECT_EQ(box("cbAudioTrackNo")->count(), 2);
    EXPECT_EQ(m_panel.selectedFileInfo().NumberOfAudioStreams, 1);

    // Nothing selected: the preview names no file.
    m_panel.setSelectedFile(QString());
    m_panel.action("actShowCmdLine")->trigger();
    EXPECT_TRUE(m_panel.commandLineWindow()->text().startsWith(u"-y -i <input_file> "_s));
}

TEST_F(SettingsPanelTest, InfoButtonsOpenTheReportTheHelpAndThePage)
{
    const ScopedEnv data("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath(u"user-data"_s)));
    const ScopedEnv cache("XDG_CACHE_HOME", QFile::encodeName(m_dir.filePath(u"user-cache"_s)));
    UrlRecorder recorder;
    for (const QString &scheme : {u"file"_s, u"https"_s})
        QDesktopServices::setUrlHandler(scheme, &recorder, "open");

    // The report beside the program, or in the user's folder when the data
    // folder cannot take it.
    ASSERT_TRUE(QDir().mkpath(m_params.DataDir));
    w<QToolButton>("btnInfoAudioBitrates")->click();
    ASSERT_TRUE(QDir(m_params.DataDir).removeRecursively());
    w<QToolButton>("btnInfoAudioBitrates")->click();
    w<QToolButton>("btnInfoFourcc")->click();

    // FFmpeg's help, asked once off the window's thread.
    const QString ffmpeg = m_dir.filePath(u"ffmpeg"_s);
    ASSERT_TRUE(TestSupport::WriteFile(ffmpeg, "#!/bin/sh\necho \"usage: $*\"\n"));
    QFile::setPermissions(ffmpeg, QFile::permissions(ffmpeg) | QFile::ExeOwner);
    m_params.ffmpeg = ffmpeg;
    m_panel.setParams(m_params);
    w<QToolButton>("btnFFParams")->click();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.urls.size(), 4, 30000);

    for (const QString &scheme : {u"file"_s, u"https"_s})
        QDesktopServices::unsetUrlHandler(scheme);
    EXPECT_EQ(recorder.urls.at(0), QUrl::fromLocalFile(m_params.AudioBitratesTxt));
    EXPECT_EQ(recorder.urls.at(1),
        QUrl::fromLocalFile(m_dir.filePath(u"user-data/quillon/audio_bitrates.txt"_s)));
    EXPECT_TRUE(QFile::exists(recorder.urls.at(1).toLocalFile()));
    EXPECT_EQ(recorder.urls.at(2).scheme(), u"https"_s);
    const QString help = recorder.urls.at(3).toLocalFile();
    EXPECT_TRUE(help.startsWith(m_dir.filePath(u"user-cache/quillon/"_s))) << help.toStdString();
    EXPECT_EQ(TestSupport::ReadFile(help), QByteArray("usage: -hide_banner -h long\n"));
}
