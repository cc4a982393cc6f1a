#include "filelist/ListFile.h"
#include "app/NonUtf8Names.h"
#include "support/TestSupport.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

TEST(ListFile, DecodesEveryEncodingAndLineEnd)
{
    const QStringList expected{u"/v/ä b.mkv"_s, u"/v/c.avi"_s};
    const QString text = u"/v/ä b.mkv\r\n/v/c.avi\r\n"_s;
    QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    QStringEncoder utf16be(QStringConverter::Utf16BE, QStringConverter::Flag::WriteBom);
    const QByteArray cases[] = {
        text.toUtf8(),
        "\xEF\xBB\xBF" + text.toUtf8(),
        utf16.encode(text),
        utf16be.encode(text),
        u"/v/ä b.mkv\n/v/c.avi"_s.toUtf8(),
    };
    for (const QByteArray &bytes : cases)
        EXPECT_EQ(DecodeListFile(bytes), expected) << bytes.toHex().toStdString();
    EXPECT_EQ(DecodeListFile(QByteArray()), QStringList());
    // Lines are not trimmed; an empty line stays (it adds nothing later).
    EXPECT_EQ(DecodeListFile("a.mkv \r\n\r\nb.mkv"), (QStringList{u"a.mkv "_s, u""_s, u"b.mkv"_s}));
    // A name that is not UTF-8 stays recognisable, with or without the mark.
    for (const QByteArray &bom : {QByteArray(), QByteArray("\xEF\xBB\xBF")}) {
        const QStringList lines = DecodeListFile(bom + "/v/a.mkv\r\n/v/\xff\xfe.mkv\r\n");
        ASSERT_EQ(lines.size(), 2);
        EXPECT_EQ(lines[0], u"/v/a.mkv"_s);
        EXPECT_EQ(EscapedNonUtf8Name(lines[1]), u"/v/\\xff\\xfe.mkv"_s);
    }
}

TEST(ListFile, LinePaths)
{
    const std::pair<QString, QString> cases[] = {
        {u"/v/a.mkv"_s, u"/v/a.mkv"_s},
        {u"/v/./a.mkv"_s, u"/v/a.mkv"_s},
        {u"/v//a.mkv"_s, u"/v/a.mkv"_s},
        {u"/a.mkv"_s, u"/a.mkv"_s},
        {u"/./a.mkv"_s, u"/a.mkv"_s},
        {u"/v./a.mkv"_s, u"/v./a.mkv"_s}, // a folder named "v." is not "v"
        {u"a.mkv"_s, u"a.mkv"_s},
        {u"./a.mkv"_s, u"a.mkv"_s},
        {u"sub/a.mkv"_s, u"sub/a.mkv"_s},
        {QString(), QString()},
    };
    for (const auto &[line, path] : cases)
        EXPECT_EQ(ListFileLinePath(line), path) << line.toStdString();
}

TEST(ListFile, WriteThenRead)
{
    const QStringList paths{u"/v/a.mkv"_s, u"/v/ünï b.avi"_s, u"/v/c.mp4"_s};
    EXPECT_EQ(EncodeListFile(paths), u"/v/a.mkv\r\n/v/ünï b.avi\r\n/v/c.mp4\r\n"_s.toUtf8());
    QTemporaryDir dir;
    const QString file = dir.filePath(u"list.lst"_s);
    ASSERT_TRUE(TestSupport::WriteFile(file, EncodeListFile(paths)));
    QStringList lines;
    ASSERT_TRUE(ReadListFile(file, lines));
    EXPECT_EQ(lines, paths);
    EXPECT_FALSE(ReadListFile(dir.filePath(u"missing.lst"_s), lines));
}

TEST(ListFile, SizeAndLineLengthAreCapped)
{
    QTemporaryDir dir;
    QStringList lines;
    QString error;
    // An endless source ends at the first cap, with the name and the limit.
    EXPECT_FALSE(ReadListFile(u"/dev/zero"_s, lines, &error));
    EXPECT_TRUE(error.contains(u"\"/dev/zero\""_s)) << error.toStdString();
    EXPECT_TRUE(error.contains(u"64 KB"_s)) << error.toStdString();

    // Names that look like placeholders are reported as they are.
    const QString longest = dir.filePath(u"%1longest.lst"_s);
    const QByteArray atLimit(MaxListFileLineBytes, 'x');
    ASSERT_TRUE(TestSupport::WriteFile(longest, "a.mkv\r\n" + atLimit + "\nb.mkv"));
    ASSERT_TRUE(ReadListFile(longest, lines, &error)) << error.toStdString();
    EXPECT_EQ(lines.size(), 3);
    ASSERT_TRUE(TestSupport::WriteFile(longest, "a.mkv\n" + atLimit + "x\nb.mkv\n"));
    EXPECT_FALSE(ReadListFile(longest, lines, &error));
    EXPECT_TRUE(
        error.contains(u"line 2 of the list file \""_s + longest + u"\" is longer than 64 KB"_s))
        << error.toStdString();

    // The limit itself is allowed; one byte more is not.
    const QString large = dir.filePath(u"%1x.lst"_s);
    const QByteArray line = QByteArray(1023, 'x') + '\n';
    const QByteArray atSizeLimit = line.repeated(MaxListFileBytes / 1024);
    ASSERT_TRUE(TestSupport::WriteFile(large, atSizeLimit));
    ASSERT_TRUE(ReadListFile(large, lines, &error)) << error.toStdString();
    EXPECT_EQ(lines.size(), MaxListFileBytes / 1024);
    ASSERT_TRUE(TestSupport::WriteFile(large, atSizeLimit + '\n'));
    EXPECT_FALSE(ReadListFile(large, lines, &error));
    EXPECT_TRUE(error.contains(u"\""_s + large + u"\" is larger than 64 MB"_s))
        << error.toStdString();
}

TEST(ListFile, ReadFromAPipe)
{
    // Read to its end, however the writer splits it; the size of a pipe
    // says nothing.
    QTemporaryDir dir;
    const QString fifo = dir.filePath(u"list.fifo"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    std::thread writer([&] {
        QFile out(fifo);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        out.write("\xEF\xBB\xBF/v/a.mkv\r\n/v/");
        QThread::msleep(100);
        out.write("b.mkv\r\n");
    });
    QStringList lines;
    QString error;
    EXPECT_TRUE(ReadListFile(fifo, lines, &error)) << error.toStdString();
    writer.join();
    EXPECT_EQ(lines, (QStringList{u"/v/a.mkv"_s, u"/v/b.mkv"_s}));
}

} // namespace
