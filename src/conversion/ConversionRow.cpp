#include "conversion/ConversionRow.h"

#include <algorithm>

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
    const std::vector<bool> checks = ChecksForRetry(rows);
    return std::find(checks.cbegin(), checks.cend(), true) != checks.cend();
}
