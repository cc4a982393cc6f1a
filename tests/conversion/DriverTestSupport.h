#pragma once

#include "conversion/ConversionDriver.h"
#include "conversion/ConversionFrontEnd.h"
#include "conversion/EncoderOutput.h"
#include "conversion/PowerControl.h"
#include "encoding/EncoderSupport.h"
#include "encoding/SettingsDefaults.h"
#include "encoding/SettingsLists.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <vector>

inline std::ostream &operator<<(std::ostream &os, const QString &text)
{
    return os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << text;
}

namespace DriverTest {

// Everything the driver tells its front end: events in order, and the
// details the tests look at.
class RecordingFrontEnd : public IConversionFrontEnd
{
public:
    void warning(const QString &text) override { note(QStringLiteral("warning"), text, warnings); }
    void runStarted() override { events << QStringLiteral("runStarted"); }
    void walkStarted(const ConversionWalkStart &start) override { walk = start; }
    void fileStarted(const ConversionFileView &file) override
    {
        started.push_back(file);
        if (onFileStarted)
            onFileStarted(file);
    }
    void fileSkipped(const ConversionFileView &file) override { skipped.push_back(file); }
    void rowStatusChanged(int row, const QString &status) override
    {
        statuses << QStringLiteral("%1:%2").arg(row).arg(status);
    }
    void progress(const EncoderProgressUpdate &update) override
    {
        lastPercentage = update.Percentage > 0 ? update.Percentage : lastPercentage;
        if (onProgress)
            onProgress(update);
    }
    void errorLogged(const QStringList &lines, int) override { errorEntries << lines.join(u'\n'); }
    void fileFinished(const ConversionFileEnd &end) override { finished.push_back(end); }
    void runFinished(const ConversionRunEnd &) override { events << QStringLiteral("runFinished"); }
    bool askYesNo(const QString &question) override
    {
        note(QStringLiteral("question"), question, questions);
        return answerYes;
    }
    void showError(const QString &text) override { note(QStringLiteral("error"), text, errors); }
    void showErrorLog(const QString &caption, bool show) override
    {
        errorLogCaption = caption;
        errorLogShown = show;
    }
    bool confirmPowerOff() override
    {
        events << QStringLiteral("confirmPowerOff");
        return confirmPowerOffAnswer;
    }
    void closeApplication() override { events << QStringLiteral("closeApplication"); }

    QStringList events, warnings, statuses, errorEntries, questions, errors;
    std::vector<ConversionFileView> started, skipped;
    std::vector<ConversionFileEnd> finished;
    ConversionWalkStart walk;
    int lastPercentage = 0;
    QString errorLogCaption;
    bool errorLogShown = false;
    bool answerYes = false;
    bool confirmPowerOffAnswer = true;
    std::function<void(const ConversionFileView &)> onFileStarted;
    std::function<void(const EncoderProgressUpdate &)> onProgress;

private:
    void note(const QString &event, const QString &text, QStringList &list)
    {
        events << event;
        list << text;
    }
};

class RecordingPower : public IPowerControl
{
public:
    bool powerOff(QString *) override
    {
        ++calls;
        return true;
    }
    int calls = 0;
};

// Checked rows of the files, each showing "Ready".
inline std::vector<ConversionRow> RowsOf(const QStringList &files)
{
    std::vector<ConversionRow> rows;
    for (const QString &file : files) {
        ConversionRow row;
        row.FullFileName = file;
        row.Status = QStringLiteral("Ready");
        rows.push_back(row);
    }
    return rows;
}

// One call of the fake FFmpeg: its working folder and arguments.
struct FakeCall
{
    QString cwd;
    QStringList args;

    // The files of a probe ("-i A -i B ..."); empty for other calls.
    QStringList probed() const
    {
        QStringList files;
        for (qsizetype i = 0; i + 1 < args.size() && args[i] == QLatin1String("-i"); i += 2)
            files << args[i + 1];
        return files.size() * 2 == args.size() ? files : QStringList();
    }
    bool isProbe() const { return !probed().isEmpty(); }
    bool isConversion() const
    {
        return !isProbe() && !args.contains(QLatin1String("-encoders"))
            && !args.contains(QLatin1String("-version"));
    }
    QString output() const { return args.isEmpty() ? QString() : args.last(); }
};

// A folder of its own, the fake FFmpeg scripted through it, and a run setup
// that finds nothing but the fake.
class DriverFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_script = m_dir.filePath(QStringLiteral("fake-script.txt"));
        m_log = m_dir.filePath(QStringLiteral("fake-calls.log"));
        writeScript({});
        qputenv("QLN_FAKE_FFMPEG_SCRIPT", QFile::encodeName(m_script));
        qputenv("QLN_FAKE_FFMPEG_LOG", QFile::encodeName(m_log));
        ClearEncoderCache();
    }
    void TearDown() override
    {
        qunsetenv("QLN_FAKE_FFMPEG_SCRIPT");
        qunsetenv("QLN_FAKE_FFMPEG_LOG");
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    void writeScript(const QString &text)
    {
        ASSERT_TRUE(TestSupport::WriteFile(m_script, text.toUtf8()));
    }

    QString makeInput(const QString &name, const QByteArray &bytes = "input bytes")
    {
        QString file = path(name);
        EXPECT_TRUE(TestSupport::WriteFile(file, bytes));
        return file;
    }

    ConversionSetup setup()
    {
        ConversionSetup s;
        s.settings = DefaultEncodingSettings(s.strings, AviCodec::Xvid);
        s.lists = BuildEncodingLists(s.strings, QStringLiteral("/nonexistent/resolutions.txt"),
            QStringLiteral("/nonexistent/fourcc_video_tags.txt"));
        s.params.ffmpeg = TestSupport::ToolPath(QStringLiteral("fake_ffmpeg"));
        s.toolLookup = ToolLookup{QString(), QStringList(), QStringList()};
        s.processorCount = 4;
        s.power = &power;
        return s;
    }

    static std::vector<ConversionRow> rowsOf(const QStringList &files) { return RowsOf(files); }

    std::vector<FakeCall> calls() const
    {
        std::vector<FakeCall> result;
        const QString text = QString::fromUtf8(TestSupport::ReadFile(m_log));
        for (const QString &line : text.split(u'\n', Qt::SkipEmptyParts)) {
            QStringList fields = line.split(u'\t');
            for (QString &field : fields) {
                field.replace(QLatin1String("\\t"), QLatin1String("\t"));
                field.replace(QLatin1String("\\n"), QLatin1String("\n"));
                field.replace(QLatin1String("\\r"), QLatin1String("\r"));
                field.replace(QLatin1String("\\\\"), QLatin1String("\\"));
            }
            FakeCall call;
            call.cwd = fields.takeFirst();
            call.args = fields;
            result.push_back(call);
        }
        return result;
    }

    std::vector<FakeCall> conversions() const
    {
        std::vector<FakeCall> result;
        for (const FakeCall &call : calls()) {
            if (call.isConversion())
                result.push_back(call);
        }
        return result;
    }

    QTemporaryDir m_dir;
    QString m_script;
    QString m_log;
    RecordingFrontEnd frontEnd;
    RecordingPower power;
};

} // namespace DriverTest
