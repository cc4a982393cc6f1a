#include "app/TextHelpers.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// The locale's reading of a number, without its group separators: under
// English "1,5" must not pass as 15.
bool toLocaleDouble(const QString &text, double *value)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    const double v = locale.toDouble(text, &ok);
    if (!ok || !std::isfinite(v))
        return false;
    if (value)
        *value = v;
    return true;
}

QString pad(int64_t value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

} // namespace

QString MsToTimeStr(int32_t ms)
{
    if (ms <= 0)
        return QStringLiteral("00:00:00.000");
    const int64_t v = ms;
    return pad(v / 3600000, 2) + u':' + pad(v % 3600000 / 60000, 2) + u':'
        + pad(v % 60000 / 1000, 2) + u'.' + pad(v % 1000, 3);
}

bool ParseAspectText(const QString &text, double &numerator, double &denominator)
{
    const QChar separator = DecimalSeparatorChar();
    QString t = text.trimmed();
    qsizetype at = t.indexOf(u'.');
    if (at >= 0)
        t[at] = separator;
    at = t.indexOf(u',');
    if (at >= 0)
        t[at] = separator;
    t.replace(u'/', u':').replace(u'\\', u':');
    if (!t.contains(u':'))
        t += QStringLiteral(":1");
    const qsizetype colon = t.indexOf(u':');
    const QString left = t.left(colon).trimmed();
    const QString right = t.mid(colon + 1).trimmed();
    if (!IsValidFloat(left) || !IsValidFloat(right))
        return false;
    numerator = ParseFloatLenient(left, -1);
    denominator = ParseFloatLenient(right, -1);
    return true;
}

bool ParseAspectText(const QString &text)
{
    double numerator = 0;
    double denominator = 0;
    return ParseAspectText(text, numerator, denominator);
}

QString FormatSize(int64_t bytes, const QString &smallUnit)
{
    const double v = std::fabs(double(bytes));
    const QString sign = bytes < 0 ? QStringLiteral("-") : QString();
    if (v < 1024.0)
        return QStringLiteral("%1").arg(sign + QString::number(v, 'f', 0), 2) + smallUnit;
    if (v < 1048576.0)
        return sign + QString::number(v / 1024.0, 'f', 2) + QStringLiteral(" KB");
    if (v < 1073741824.0)
        return sign + QString::number(v / 1048576.0, 'f', 2) + QStringLiteral(" MB");
    return sign + QString::number(v / 1073741824.0, 'f', 2) + QStringLiteral(" GB");
}

QString FormatThousands(int64_t value, QChar separator)
{
    // Through the unsigned magnitude, so the most negative value has one.
    const uint64_t magnitude = value < 0 ? 0 - uint64_t(value) : uint64_t(value);
    const QString digits = QString::number(magnitude);
    QString result;
    result.reserve(digits.size() + digits.size() / 3 + 1);
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            result += separator;
        result += digits.at(i);
    }
    return value < 0 ? u'-' + result : result;
}

bool ParseWholeNumber(const QString &text, int64_t &value)
{
    qsizetype i = 0;
    if (!text.isEmpty() && (text.at(0) == u'+' || text.at(0) == u'-'))
        i = 1;
    if (i >= text.size())
        return false;
    for (qsizetype k = i; k < text.size(); ++k)
        if (text.at(k) < u'0' || text.at(k) > u'9')
            return false;
    bool ok = false;
    const qlonglong parsed = text.toLongLong(&ok, 10);
    if (ok)
        value = parsed;
    return ok;
}

bool IsValidInt(const QString &text)
{
    int64_t value = 0;
    return ParseWholeNumber(text, value) && value >= INT32_MIN && value <= INT32_MAX;
}

bool IsValidFloat(const QString &text)
{
    return toLocaleDouble(text, nullptr);
}

double ParseFloatLenient(const QString &text, double defaultValue)
{
    const QChar separator = DecimalSeparatorChar();
    QString t = text;
    t.replace(u',', separator).replace(u'.', separator);
    double value = 0;
    return toLocaleDouble(t, &value) ? value : defaultValue;
}

QChar DecimalSeparatorChar()
{
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QChar(u'.') : point.at(0);
}

int64_t FileSizeOf(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return file.size();
}

QString WithLineFeeds(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

QString VisibleControlChars(const QString &text)
{
    const auto isControl = [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; };
    if (std::none_of(text.begin(), text.end(), isControl))
        return text;
    QString shown = text;
    for (QChar &c : shown) {
        if (c == u'\n')
            c = QChar(0x23CE);
        else if (c.unicode() == 0x7F)
            c = QChar(0x2421);
        else if (isControl(c))
            c = QChar(0x2400 + c.unicode());
    }
    return shown;
}

int64_t RoundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    // 2^63 is exactly representable; anything at or beyond it is clamped.
    constexpr double limit = 9223372036854775808.0;
    if (value >= limit)
        return std::numeric_limits<int64_t>::max();
    if (value < -limit)
        return std::numeric_limits<int64_t>::min();
    const double floor = std::floor(value);
    const double diff = value - floor;
    double result = floor;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(floor, 2.0) != 0.0))
        result = floor + 1.0;
    if (result >= limit)
        return std::numeric_limits<int64_t>::max();
    return int64_t(result);
}

QString UnbreakableOptions(const QString &text)
{
    QString shown = text;
    bool quoted = false;
    qsizetype optionEnd = -1; // past the last option, while its value may follow
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QChar c = shown.at(i);
        if (quoted) {
            quoted = c != u'"';
            continue;
        }
        if (c == u' ')
            continue;
        if (c == u'\n') {
            optionEnd = -1;
            continue;
        }
        const bool tokenStart = i == 0 || shown.at(i - 1) == u' ' || shown.at(i - 1) == u'\n';
        if (tokenStart && c == u'-' && i + 1 < shown.size() && shown.at(i + 1).isLetter()) {
            shown[i] = QChar(0x2011);
            optionEnd = i + 1;
            while (optionEnd < shown.size() && shown.at(optionEnd) != u' '
                && shown.at(optionEnd) != u'\n')
                ++optionEnd;
            i = optionEnd - 1;
            continue;
        }
        if (tokenStart && optionEnd >= 0)
            std::fill(shown.begin() + optionEnd, shown.begin() + i, QChar::Nbsp);
        optionEnd = -1;
        quoted = c == u'"';
    }
    return shown;
}

QString WithoutLoneSurrogates(QString text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            text[i] = QChar(QChar::ReplacementCharacter);
    }
    return text;
}

QString SystemErrorText(int errorNumber)
{
    char buffer[256] = {};
    // GNU strerror_r: returns either a static text or the one in buffer.
    return QString::fromLocal8Bit(strerror_r(errorNumber, buffer, sizeof buffer));
}
