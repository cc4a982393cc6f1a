#include "app/NonUtf8Names.h"
#include "app/ProgramDir.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

TEST(NonUtf8Names, DetectedAndEscaped)
{
    struct Case
    {
        QByteArray bytes;
        const char *escaped; // null: valid UTF-8, decoded as usual
    };
    const Case cases[] = {
        {"plain.mkv", nullptr},
        // A pair whose low half (U+DCBE) lies among the kept bytes is no marker.
        {"\xc3\xbcn\xc3\xaf \xf0\x9f\x92\xbe.mkv", nullptr},
        {"\xef\xbf\xbd.mkv", nullptr}, // a real U+FFFD is a valid name
        {"\xff\xfe.mkv", "\\xff\\xfe.mkv"},
        {"/v/\xe9t\xe9/a.mkv", "/v/\\xe9t\\xe9/a.mkv"}, // a Latin-1 folder
        {"\xc0\xaf", "\\xc0\\xaf"}, // overlong "/"
        {"\xe0\x80\xaf", "\\xe0\\x80\\xaf"}, // overlong "/" in three bytes
        {"\xed\xa0\x80", "\\xed\\xa0\\x80"}, // an encoded surrogate
        {"\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"}, // beyond U+10FFFF
        {"a\xe2\x82", "a\\xe2\\x82"}, // cut short
        {"\xf0\x9f\x92\xbe\x80", "\xf0\x9f\x92\xbe\\x80"}, // stray byte after a pair
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bytes.toHex().toStdString());
        const QString name = DecodeLocalName(c.bytes);
        EXPECT_EQ(HasNonUtf8Bytes(name), c.escaped != nullptr);
        if (c.escaped)
            EXPECT_EQ(EscapedNonUtf8Name(name), QString::fromUtf8(c.escaped));
        else
            EXPECT_EQ(name.toUtf8(), c.bytes);
    }
}

TEST(NonUtf8Names, CurrentFolderKeepsItsBytes)
{
    // A relative name inside such a folder is no valid name either.
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path()) + "/\xe9t\xe9";
    ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
    const QByteArray saved = QFile::encodeName(CurrentDirName());
    ASSERT_EQ(::chdir(folder.constData()), 0);
    const QString current = CurrentDirName();
    const QString expanded = ExpandFullPath(u"a.mkv"_s);
    ASSERT_EQ(::chdir(saved.constData()), 0);
    EXPECT_EQ(EscapedNonUtf8Name(current).toStdString(), dir.path().toStdString() + "/\\xe9t\\xe9");
    EXPECT_EQ(EscapedNonUtf8Name(expanded).toStdString(),
        dir.path().toStdString() + "/\\xe9t\\xe9/a.mkv");
}

} // namespace
