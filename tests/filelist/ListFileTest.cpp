#include "filelist/ListFile.h"
#include "support/TestSupport.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

} // namespace
