#pragma once

#include <QChar>
#include <QString>
#include <cstdint>

// Text and number routines shared by the analysis, the list and the command
// building. "The locale" is QLocale(), the default locale.

// "hh:mm:ss.zzz"; hours are not limited to two digits; 0 or less gives
// "00:00:00.000".
QString MsToTimeStr(int32_t ms);

// Reads "16:9", "16/9", "1,85:1" or "2.35" (taken as 2.35:1) into two numbers.
bool ParseAspectText(const QString &text, double &numerator, double &denominator);
bool ParseAspectText(const QString &text);

// "512 bytes" (with the given unit, at least two characters of number),
// "1.00 KB", "1.21 GB": always with a full stop, factor 1024.
QString FormatSize(int64_t bytes, const QString &smallUnit = QStringLiteral(" bytes"));

// Digits grouped by three from the right: 1234567 -> "1 234 567".
QString FormatThousands(int64_t value, QChar separator = u' ');

// Optional sign and decimal digits, within the signed 32-bit range.
bool IsValidInt(const QString &text);
// Optional sign and decimal digits over the 64-bit range (stream sizes beyond
// 2 GB are common); false for anything else, value then unchanged.
bool ParseWholeNumber(const QString &text, int64_t &value);
// A finite number written with the locale's decimal separator (no group
// separators).
bool IsValidFloat(const QString &text);
// Every "," and "." taken as the decimal separator; defaultValue when the
// text is not a finite number.
double ParseFloatLenient(const QString &text, double defaultValue);
QChar DecimalSeparatorChar();

// The C library's text for an errno value, safe on any thread (strerror
// shares one buffer between threads).
QString SystemErrorText(int errorNumber);

// Bytes; 0 when there is no such file, -1 when it exists but cannot be read.
int64_t FileSizeOf(const QString &path);

// The one rounding of computed whole numbers: to the nearest integer, an
// exact half to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). NaN
// gives 0; values beyond the 64-bit range are clamped.
int64_t RoundHalfEven(double value);

// text with every surrogate that is not half of a pair as U+FFFD. Decoded
// UTF-16 keeps such halves, which UTF-8 cannot hold: cleaned, what was read
// is what a save writes back.
QString WithoutLoneSurrogates(QString text);

// Each CR LF as one line feed. The catalogue's texts (FormatAppString) and
// the reports keep CR LF, as the error log and saved reports store them;
// views, message boxes and a terminal take this form.
QString WithLineFeeds(QString text);

// text for one line of a list or a tooltip: a line feed as "⏎", the other
// control characters as their pictures (U+2400...), so that a name holding
// them is shown whole. Display only: the name itself stays as it is.
QString VisibleControlChars(const QString &text);

// A command line for a wrapping view, the same length as text: an option's
// leading "-" becomes a non-breaking hyphen (U+2011) and the blanks between
// an option and its value no-break spaces, so that a line never ends
// inside "-preset:v" nor between it and its value. Quoted parts stay.
QString UnbreakableOptions(const QString &text);
