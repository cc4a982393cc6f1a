#pragma once

#include "filelist/FileListRow.h"

// The commands on the rows. Clearing the list is rows.clear().

void checkAll(std::vector<FileListRow> &rows);
void uncheckAll(std::vector<FileListRow> &rows);
// actInvertSelection: flips every row's check box.
void invertChecks(std::vector<FileListRow> &rows);
void checkSelected(std::vector<FileListRow> &rows, const RowSelection &selected);
void uncheckSelected(std::vector<FileListRow> &rows, const RowSelection &selected);

// colNo := 1, 2, ... in row order.
void RenumNg(std::vector<FileListRow> &rows);
int GetNgCheckedCount(const std::vector<FileListRow> &rows);

// actRemoveChecked: removes the checked rows and renumbers the rest.
// Returns the number removed.
int removeChecked(std::vector<FileListRow> &rows);
// Removes the rows at these indexes (invalid ones ignored) and renumbers
// the rest. Returns the number removed.
int removeRowsAt(std::vector<FileListRow> &rows, const RowSelection &indexes);
