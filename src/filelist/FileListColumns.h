#pragma once

#include "filelist/FileListRow.h"
#include "i18n/AppStrings.h"

#include <QChar>
#include <QString>
#include <QStringView>
#include <QVariant>
#include <Qt>

// How a column compares its cells when the user sorts by it.
enum class CellSort { Number, Text, Check };

// How a cell's value is shown.
enum class CellFormat {
    Text,
    None, // the check box and the icon: drawn, not written
    Grouped, // 1 234 567
    GroupedPositive, // as Grouped; empty for 0 and less
    Size, // FormatSize with " bytes"
    SizePositive,
    Duration, // 01:40:00; empty for 0 and less
    Decimals2, // 29.97 with the locale's separator; empty for 0 and less
    Decimals3,
};

struct FileListColumnInfo
{
    // The catalogue entry of the header and of the column's visibility
    // command; none for the check box column, which has neither.
    QString TMainModuleStrings::*caption = nullptr;
    QStringView unit; // appended to the header only: " [kbit/s]"
    bool headerHasText = true; // the check box and icon headers stay blank
    bool initiallyVisible = true;
    bool userMayHide = true;
    CellSort sort = CellSort::Text;
    CellFormat format = CellFormat::Text;
    Qt::Alignment alignment;
};

const FileListColumnInfo &fileListColumn(FileListColumn column);

// The header: the catalogue text with its unit; empty for colActive and
// colIcon.
QString columnHeaderText(FileListColumn column, const TAppStrings &strings);
// The caption of the column's visibility command: the catalogue text
// without unit; empty for colActive.
QString columnCaptionText(FileListColumn column, const TAppStrings &strings);

// What a cell shows. decimalSeparator is the locale's (DecimalSeparatorChar).
QString cellText(const FileListRow &row, FileListColumn column, QChar decimalSeparator);

// Milliseconds as hh:mm:ss, rounded to whole seconds (half a second and
// more up); hours may have more than two digits.
QString wholeSecondsText(double ms);
// value with this many decimals and the given separator, never grouped.
QString decimalsText(double value, int decimals, QChar decimalSeparator);

// The value a column sorts by: a number (double), a text, or the check state
// (bool). The icon column sorts by the row id: the order of adding.
QVariant cellSortKey(const FileListRow &row, FileListColumn column);
// <0, 0, >0: numbers as numbers, texts without regard to case, unchecked
// before checked.
int compareCells(const FileListRow &a, const FileListRow &b, FileListColumn column);
// Reorders the rows themselves (stable; colNo is not renumbered), so that
// the conversion and a saved list follow the order the user sees.
void sortRows(std::vector<FileListRow> &rows, FileListColumn column, Qt::SortOrder order);
