#include "app/TextHelpers.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// Every helper runs under a decimal-point and a decimal-comma locale.
class TextHelpers : public ::testing::TestWithParam<QLocale::Language>
{
protected:
    void SetUp() override { QLocale::setDefault(QLocale(GetParam())); }
    void TearDown() override { QLocale::setDefault(m_saved); }
    bool comma() const { return GetParam() == QLocale::German; }

private:
    QLocale m_saved;
};

// clang-format off
TEST_P(TextHelpers, MsToTimeStr)
{
    const struct { int32_t ms; const char *text; } cases[] = {
        {0, "00:00:00.000"}, {-5, "00:00:00.000"}, {1, "00:00:00.001"},
        {5025042, "01:23:45.042"}, {360000000, "100:00:00.000"}, {2147483647, "596:31:23.647"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(MsToTimeStr(c.ms), QLatin1String(c.text)) << c.ms;
}

TEST_P(TextHelpers, ParseAspectText)
{
    const struct { const char *text; bool ok; double num, den; } cases[] = {
        {"4:3", true, 4, 3}, {"16/9", true, 16, 9}, {"16\\9", true, 16, 9},
        {" 16 : 9 ", true, 16, 9}, {"1,85:1", true, 1.85, 1}, {"1.333", true, 1.333, 1},
        {"2,35/1", true, 2.35, 1}, {"", false, 0, 0}, {"16:", false, 0, 0},
        {":9", false, 0, 0}, {"wide", false, 0, 0}, {"16:9:1", false, 0, 0},
    };
    for (const auto &c : cases) {
        double num = 0, den = 0;
        ASSERT_EQ(ParseAspectText(QLatin1String(c.text), num, den), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(num, c.num) << c.text;
            EXPECT_DOUBLE_EQ(den, c.den) << c.text;
        }
    }
}

TEST_P(TextHelpers, FormatSizeAndThousandsIgnoreTheLocale)
{
    const struct { int64_t bytes; const char *text; } cases[] = {
        {0, " 0 bytes"}, {5, " 5 bytes"}, {512, "512 bytes"}, {1023, "1023 bytes"},
        {1024, "1.00 KB"}, {1048575, "1024.00 KB"}, {1048576, "1.00 MB"},
        {1300000000, "1.21 GB"}, {5LL << 40, "5120.00 GB"}, {-1, "-1 bytes"}, {-2048, "-2.00 KB"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatSize(c.bytes), QLatin1String(c.text)) << c.bytes;

    EXPECT_EQ(FormatThousands(1234567), "1 234 567");
    EXPECT_EQ(FormatThousands(123456), "123 456");
    EXPECT_EQ(FormatThousands(123), "123");
    EXPECT_EQ(FormatThousands(0), "0");
    EXPECT_EQ(FormatThousands(1000, u'.'), "1.000");
    EXPECT_EQ(FormatThousands(INT64_MAX), "9 223 372 036 854 775 807");
}

TEST_P(TextHelpers, IsValidInt)
{
    for (const char *good : {"0", "42", "+5", "-17", "2147483647", "-2147483648", "007"})
        EXPECT_TRUE(IsValidInt(QLatin1String(good))) << good;
    for (const char *bad : {"", "-", "+", "2147483648", "-2147483649", "1.5", "1,5", " 5", "5 ",
                            "1e3", "0x10", "abc"})
        EXPECT_FALSE(IsValidInt(QLatin1String(bad))) << bad;
    EXPECT_FALSE(IsValidInt(QStringLiteral("\u0663"))); // a digit of another script
}
// clang-format on

TEST_P(TextHelpers, FloatsFollowTheLocaleSeparator)
{
    EXPECT_EQ(DecimalSeparatorChar(), comma() ? u',' : u'.');
    EXPECT_TRUE(IsValidFloat(comma() ? "1,5" : "1.5"));
    EXPECT_FALSE(IsValidFloat(comma() ? "1.5" : "1,5")); // never read as fifteen
    EXPECT_TRUE(IsValidFloat("-25"));
    for (const char *bad : {"", "abc", "inf", "nan", "1,000,000", "1.000.000", "1.5x"})
        EXPECT_FALSE(IsValidFloat(QLatin1String(bad))) << bad;

    EXPECT_DOUBLE_EQ(ParseFloatLenient("1,5", -1), 1.5);
    EXPECT_DOUBLE_EQ(ParseFloatLenient("29.97", -1), 29.97);
    EXPECT_DOUBLE_EQ(ParseFloatLenient("1.000,5", -1), -1);
    EXPECT_DOUBLE_EQ(ParseFloatLenient("", 7), 7);
}

INSTANTIATE_TEST_SUITE_P(Locales, TextHelpers, ::testing::Values(QLocale::English, QLocale::German),
    [](const auto &info) { return QLocale::languageToCode(info.param).toStdString(); });

TEST(FileSizeOf, MissingEmptyReadableAndUnreadable)
{
    QTemporaryDir tmp;
    const QString file = tmp.path() + "/a.bin";
    EXPECT_EQ(FileSizeOf(file), 0);
    EXPECT_EQ(FileSizeOf(tmp.path()), 0); // a folder is no file
    ASSERT_TRUE(TestSupport::WriteFile(file, QByteArray(5000, 'x')));
    EXPECT_EQ(FileSizeOf(file), 5000);

    if (geteuid() == 0)
        GTEST_SKIP() << "root reads any file";
    QFile::setPermissions(file, QFileDevice::WriteOwner);
    EXPECT_EQ(FileSizeOf(file), -1);
}

// clang-format off
TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour)
{
    const struct { double value; int64_t rounded; } cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
        {2.4999, 2}, {2.5001, 3}, {-2.6, -3}, {7.0, 7}, {4503599627370497.0, 4503599627370497},
        {1e300, INT64_MAX}, {-1e300, INT64_MIN}, {std::nan(""), 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value;
}
// clang-format on

} // namespace

TEST(UnbreakableOptions, BindsOptionsToValuesAndLeavesQuotedNamesAlone)
{
    const QString shown
        = UnbreakableOptions(QStringLiteral("ffmpeg -i \"a -b.mkv\" -pass 1  -y\n-vf x"));
    EXPECT_EQ(shown,
        QStringLiteral(
            "ffmpeg \u2011i\u00a0\"a -b.mkv\" \u2011pass\u00a01  \u2011y\n\u2011vf\u00a0x"));
}
