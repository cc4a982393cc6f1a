#include "conversion/ConversionRow.h"

#include "filelist/FileListRow.h"

std::vector<ConversionRow> ConversionRowsOf(const std::vector<FileListRow> &list)
{
    std::vector<ConversionRow> rows;
    rows.reserve(list.size());
    for (const FileListRow &item : list) {
        ConversionRow row;
        row.FullFileName = fullFileName(item);
        row.Checked = item.active;
        row.TreeRoot = item.treeRoot;
        row.Status = item.status;
        row.DurationMs = item.analysis.duration;
        rows.push_back(row);
    }
    return rows;
}

OutcomeCounts CountOutcomes(const std::vector<ConversionRow> &rows)
{
    OutcomeCounts counts;
    for (const ConversionRow &row : rows) {
        switch (row.Outcome) {
        case RowOutcome::NotReached:
            ++counts.notReached;
            break;
        case RowOutcome::Done:
            ++counts.done;
            break;
        case RowOutcome::Renamed:
            ++counts.renamed;
            break;
        case RowOutcome::Overwritten:
            ++counts.overwritten;
            break;
        case RowOutcome::Skipped:
            ++counts.skipped;
            break;
        case RowOutcome::Failed:
            ++counts.failed;
            break;
        case RowOutcome::Aborted:
            ++counts.aborted;
            break;
        }
    }
    return counts;
}

std::vector<bool> ChecksForRetry(const std::vector<ConversionRow> &rows)
{
    std::vector<bool> checks;
    checks.reserve(rows.size());
    for (const ConversionRow &row : rows)
        checks.push_back(row.Outcome == RowOutcome::Failed || row.Outcome == RowOutcome::Aborted);
    return checks;
}

bool HasRowsToRetry(const std::vector<ConversionRow> &rows)
{
    const OutcomeCounts counts = CountOutcomes(rows);
    return counts.failed + counts.aborted > 0;
}
