#include "process/CommandLine.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct SplitCase
{
    const char *text;
    QStringList expected;
};

void PrintTo(const SplitCase &splitCase, std::ostream *os)
{
    // Printable ASCII only: a line break or a UTF-8 byte would split the
    // test's name in the listing.
    static const char hex[] = "0123456789abcdef";
    *os << '"';
    for (const char *c = splitCase.text; *c; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        if (byte >= 0x20 && byte < 0x7f)
            *os << *c;
        else
            *os << "\\x" << hex[byte >> 4] << hex[byte & 15];
    }
    *os << '"';
}

class SplitParamText : public testing::TestWithParam<SplitCase>
{
};

TEST_P(SplitParamText, GivesArguments)
{
    EXPECT_EQ(splitParamText(QString::fromUtf8(GetParam().text)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitParamText,
    testing::Values(SplitCase{"", {}}, SplitCase{"   ", {}},
        SplitCase{"-b:v 1500k", {"-b:v", "1500k"}},
        SplitCase{"  -r\t25  -async 1 ", {"-r", "25", "-async", "1"}},
        SplitCase{"-x\n-y", {"-x", "-y"}},
        SplitCase{"-metadata title=\"My Movie\"", {"-metadata", "title=My Movie"}},
        SplitCase{"\"\"", {""}}, SplitCase{"a \"\" b", {"a", "", "b"}},
        SplitCase{"\"a b\"c", {"a bc"}}, SplitCase{"a\"\"b", {"ab"}},
        SplitCase{"-vf \"unclosed text  ", {"-vf", "unclosed text  "}},
        SplitCase{"C:\\dir\\ \"x\"", {"C:\\dir\\", "x"}},
        SplitCase{"caf\xc3\xa9 \xe2\x80\x94", {u"café"_s, u"\u2014"_s}}),
    [](const auto &info) {
        return std::to_string(info.index) + '_' + TestSupport::TestNameOf(info.param.text);
    });

TEST(CommandLine, KeepsTextAndVectorInStep)
{
    CommandLine cmd(u"/opt/ffmpeg"_s);
    cmd.appendText(u"-y -i "_s)
        .appendFileName(u"/in/a b.mkv"_s)
        .appendText(u" -c:v libxvid -b:v 1500k   "_s)
        .appendFileName(u"/out/a b.avi"_s);
    EXPECT_EQ(
        cmd.paramText(), u"-y -i \"/in/a b.mkv\" -c:v libxvid -b:v 1500k   \"/out/a b.avi\""_s);
    EXPECT_EQ(cmd.arguments(),
        QStringList(
            {"-y", "-i", "/in/a b.mkv", "-c:v", "libxvid", "-b:v", "1500k", "/out/a b.avi"}));
    EXPECT_EQ(cmd.commandText(), u"/opt/ffmpeg "_s + cmd.paramText());
}

TEST(CommandLine, FileNameIsNeverSplitOrInterpreted)
{
    const QString nasty = u"-x \"quoted\" $HOME `id`; rm -rf ~ 'ü' .mkv"_s;
    CommandLine cmd(u"ffmpeg"_s, u"-i "_s);
    cmd.appendFileName(nasty).appendText(u" -f null -"_s);
    EXPECT_EQ(cmd.arguments(), QStringList({"-i", nasty, "-f", "null", "-"}));
    EXPECT_EQ(cmd.paramText(), u"-i \""_s + nasty + u"\" -f null -"_s);
}

TEST(CommandLine, EmptyFileNameStaysAnArgument)
{
    CommandLine cmd(u"ffmpeg"_s, u"-i "_s);
    cmd.appendFileName({});
    EXPECT_EQ(cmd.arguments(), QStringList({"-i", ""}));
    EXPECT_EQ(cmd.paramText(), u"-i \"\""_s);
}

TEST(CommandLine, AdjoiningPiecesContinueOneArgument)
{
    CommandLine cmd(u"ffmpeg"_s);
    cmd.appendText(u"-i"_s).appendFileName(u"a b"_s).appendText(u".x y"_s);
    EXPECT_EQ(cmd.paramText(), u"-i\"a b\".x y"_s);
    EXPECT_EQ(cmd.arguments(), QStringList({"-ia b.x", "y"}));

    // A blank at the end of one piece or the start of the next separates.
    CommandLine spaced(u"ffmpeg"_s);
    spaced.appendText(u"-i "_s).appendFileName(u"a"_s).appendText(u" b"_s);
    EXPECT_EQ(spaced.arguments(), QStringList({"-i", "a", "b"}));
}

TEST(CommandLine, UnbalancedQuoteEndsWithItsPiece)
{
    CommandLine cmd(u"ffmpeg"_s);
    cmd.appendText(u"-metadata title=\"My "_s).appendText(u" "_s).appendFileName(u"out.avi"_s);
    EXPECT_EQ(cmd.arguments(), QStringList({"-metadata", "title=My ", "out.avi"}));
}

TEST(CommandLine, BlankParametersLeaveTheProgramAlone)
{
    const CommandLine blank(u"/usr/bin/ffmpeg"_s, u"  \t "_s);
    EXPECT_TRUE(blank.arguments().isEmpty());
    EXPECT_EQ(blank.paramText(), u"  \t "_s);
    EXPECT_EQ(blank.commandText(), u"/usr/bin/ffmpeg"_s);
    EXPECT_EQ(CommandLine(u"/usr/bin/ffmpeg"_s).commandText(), u"/usr/bin/ffmpeg"_s);
    // The text keeps its blanks untrimmed once it has content.
    EXPECT_EQ(CommandLine(u"ff"_s, u" -i x "_s).commandText(), u"ff  -i x "_s);
}

} // namespace
