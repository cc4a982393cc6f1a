#include "DriverTestSupport.h"

#include <QProcess>

using namespace DriverTest;
using namespace Qt::StringLiterals;

namespace {

class DriverScript : public DriverFixture
{
protected:
    QList<QStringList> conversionArgs() const
    {
        QList<QStringList> args;
        for (const FakeCall &call : conversions())
            args << call.args;
        return args;
    }
};

// A saved script must do what the conversion would have done: every pass of
// every file, with the same arguments, preset and awkward names included.
TEST_F(DriverScript, ASavedScriptStartsFFmpegAsTheRunWould)
{
    const QStringList inputs{makeInput(u"a.mkv"_s), makeInput(u"it's b.mkv"_s)};
    const QStringList outputs{path(u"a.avi"_s), path(u"it's b.avi"_s)};
    ConversionSetup s = setup();
    s.settings.cbAviVideoCodec = AviCodec::H264;
    s.settings.chAviVideo2Pass = true;
    s.settings.meParams = u"-metadata \"title=A  B\""_s;

    ConversionDriver(frontEnd).run(s, rowsOf(inputs));
    const QList<QStringList> converted = conversionArgs();
    ASSERT_EQ(converted.size(), 4);

    for (const QString &output : outputs)
        ASSERT_TRUE(QFile::remove(output));
    QFile::remove(m_log);
    s.BatchOnly = true;
    s.BatchFileName = path(u"convert.sh"_s);
    ASSERT_TRUE(ConversionDriver(frontEnd).run(s, rowsOf(inputs)).ScriptSaved);
    ASSERT_TRUE(conversionArgs().isEmpty());

    QProcess sh;
    sh.setWorkingDirectory(m_dir.path());
    sh.start(u"/bin/sh"_s, {s.BatchFileName});
    sh.closeWriteChannel();
    ASSERT_TRUE(sh.waitForFinished(30000));
    EXPECT_EQ(sh.exitCode(), 0) << sh.readAllStandardError().toStdString();
    EXPECT_EQ(conversionArgs(), converted);
}

} // namespace
