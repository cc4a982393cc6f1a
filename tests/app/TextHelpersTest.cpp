#include "app/TextHelpers.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

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

TEST_P(TextHelpers, MsToTimeStr)
{
    const struct
    {
        int32_t ms;
        const char *text;
    } cases[] = {
        {0, "00:00:00.000"},
        {-5, "00:00:00.000"},
        {1, "00:00:00.001"},
        {5025042, "01:23:45.042"},
        {360000000, "100:00:00.000"},
        {59999, "00:00:59.999"},
        {2147483647, "596:31:23.647"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(MsToTimeStr(c.ms), QLatin1String(c.text)) << c.ms;
}

TEST_P(TextHelpers, ParseAspectText)
{
    const struct
    {
        const char *text;
        bool ok;
        double numerator, denominator;
    } cases[] = {
        {"4:3", true, 4, 3},
        {"16/9", true, 16, 9},
        {"16\\9", true, 16, 9},
        {" 16 : 9 ", true, 16, 9},
        {"1,85:1", true, 1.85, 1},
        {"1.333", true, 1.333, 1},
        {"2.35", true, 2.35, 1},
        {"2,35/1", true, 2.35, 1},
        {"", false, 0, 0},
        {"16:", false, 0, 0},
        {":9", false, 0, 0},
        {"wide", false, 0, 0},
        {"16:9:1", false, 0, 0},
    };
    for (const auto &c : cases) {
        double n = 0, d = 0;
        EXPECT_EQ(ParseAspectText(QLatin1String(c.text), n, d), c.ok) << c.text;
        EXPECT_EQ(ParseAspectText(QLatin1String(c.text)), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(n, c.numerator) << c.text;
            EXPECT_DOUBLE_EQ(d, c.denominator) << c.text;
        }
    }
}

TEST_P(TextHelpers, FormatSizeIgnoresTheLocale)
{
    const struct
    {
        int64_t bytes;
        const char *text;
    } cases[] = {
        {0, " 0 bytes"},
        {5, " 5 bytes"},
        {512, "512 bytes"},
        {1023, "1023 bytes"},
        {1024, "1.00 KB"},
        {1048575, "1024.00 KB"},
        {1048576, "1.00 MB"},
        {1300000000, "1.21 GB"},
        {5LL << 40, "5120.00 GB"},
        {-1, "-1 bytes"},
        {-2048, "-2.00 KB"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatSize(c.bytes), QLatin1String(c.text)) << c.bytes;
    EXPECT_EQ(FormatSize(7, u" B"_s), u" 7 B"_s);
}

TEST_P(TextHelpers, FormatThousands)
{
    EXPECT_EQ(FormatThousands(1234567), u"1 234 567"_s);
    EXPECT_EQ(FormatThousands(123), u"123"_s);
    EXPECT_EQ(FormatThousands(0), u"0"_s);
    EXPECT_EQ(FormatThousands(1000, u'.'), u"1.000"_s);
    EXPECT_EQ(FormatThousands(123456), u"123 456"_s);
    EXPECT_EQ(FormatThousands(9223372036854775807LL), u"9 223 372 036 854 775 807"_s);
}

TEST_P(TextHelpers, IsValidInt)
{
    for (const char *good : {"0", "42", "+5", "-17", "2147483647", "-2147483648", "007"})
        EXPECT_TRUE(IsValidInt(QLatin1String(good))) << good;
    for (const char *bad :
        {"", "-", "+", "2147483648", "-2147483649", "1.5", "1,5", " 5", "5 ", "1e3", "0x10", "abc"})
        EXPECT_FALSE(IsValidInt(QLatin1String(bad))) << bad;
    EXPECT_FALSE(IsValidInt(u"\u0663"_s)); // a digit of another script
}

TEST_P(TextHelpers, FloatsFollowTheLocaleSeparator)
{
    const QString local = comma() ? u"1,5"_s : u"1.5"_s;
    const QString foreign = comma() ? u"1.5"_s : u"1,5"_s;
    EXPECT_EQ(DecimalSeparatorChar(), comma() ? u',' : u'.');
    EXPECT_TRUE(IsValidFloat(local));
    EXPECT_FALSE(IsValidFloat(foreign)); // never read as fifteen
    EXPECT_TRUE(IsValidFloat(u"25"_s));
    EXPECT_TRUE(IsValidFloat(u"-3"_s));
    for (const char *bad : {"", "abc", "inf", "nan", "1,000,000", "1.000.000", "1.5x"})
        EXPECT_FALSE(IsValidFloat(QLatin1String(bad))) << bad;

    EXPECT_DOUBLE_EQ(ParseFloatLenient(u"1,5"_s, -1), 1.5);
    EXPECT_DOUBLE_EQ(ParseFloatLenient(u"1.5"_s, -1), 1.5);
    EXPECT_DOUBLE_EQ(ParseFloatLenient(u"29.97"_s, -1), 29.97);
    EXPECT_DOUBLE_EQ(ParseFloatLenient(u"1.000,5"_s, -1), -1);
    EXPECT_DOUBLE_EQ(ParseFloatLenient(u"x"_s, -1), -1);
    EXPECT_DOUBLE_EQ(ParseFloatLenient(u""_s, 7), 7);
}

INSTANTIATE_TEST_SUITE_P(Locales, TextHelpers, ::testing::Values(QLocale::English, QLocale::German),
    [](const auto &info) { return QLocale::languageToCode(info.param).toStdString(); });

TEST(FileSizeOf, MissingEmptyReadableAndUnreadable)
{
    QTemporaryDir tmp;
    const QString file = tmp.path() + u"/a.bin"_s;
    EXPECT_EQ(FileSizeOf(file), 0);
    EXPECT_EQ(FileSizeOf(tmp.path()), 0); // a folder is no file
    ASSERT_TRUE(TestSupport::WriteFile(file, QByteArray(5000, 'x')));
    EXPECT_EQ(FileSizeOf(file), 5000);
    ASSERT_TRUE(TestSupport::WriteFile(tmp.path() + u"/empty"_s, {}));
    EXPECT_EQ(FileSizeOf(tmp.path() + u"/empty"_s), 0);

    if (geteuid() == 0)
        GTEST_SKIP() << "root reads any file";
    QFile::setPermissions(file, QFileDevice::WriteOwner);
    EXPECT_EQ(FileSizeOf(file), -1);
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour)
{
    const struct
    {
        double value;
        int64_t rounded;
    } cases[] = {
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {3.5, 4},
        {-0.5, 0},
        {-1.5, -2},
        {-2.5, -2},
        {2.4999, 2},
        {2.5001, 3},
        {-2.6, -3},
        {7.0, 7},
        {0.0, 0},
        {4503599627370497.0, 4503599627370497},
        {1e300, INT64_MAX},
        {-1e300, INT64_MIN},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value;
    EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
}

} // namespace
