#include "ui/common/DialogFilter.h"

#include <gtest/gtest.h>

// The catalogue's pattern gives way to the one the dialog matches: one
// pattern list per line, as a user reads it.
TEST(DialogFilter, OnePatternListWhateverTheEntryShows)
{
    EXPECT_EQ(DialogFilter(QStringLiteral("Text files (*.TXT)"), QStringLiteral("*.txt *.TXT")),
        QStringLiteral("Text files (*.txt *.TXT)"));
    EXPECT_EQ(DialogFilter(QStringLiteral(" Log file "), QStringLiteral("*.log")),
        QStringLiteral("Log file (*.log)"));
    EXPECT_EQ(DialogFilter(QStringLiteral("Liste (x) (*.LST)"), QStringLiteral("*.lst")),
        QStringLiteral("Liste (x) (*.lst)"));
}
