#pragma once

#include "filelist/FileListColumns.h"
#include "filelist/FileListRow.h"

#include <array>

// The footer line: one text per column, empty where there is nothing to
// show. Counts of all rows, sums and averages of the checked rows; averages
// as Main.AverageShort, two blanks and the value with two decimals (three
// for bits per pixel) and decimalSeparator.
using FooterTexts = std::array<QString, FileListColumnCount>;
FooterTexts CalcFooter(
    const std::vector<FileListRow> &rows, const TAppStrings &strings, QChar decimalSeparator);
