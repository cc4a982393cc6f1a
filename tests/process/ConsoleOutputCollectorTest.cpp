#include "process/ConsoleOutputCollector.h"
#include "ConsoleLineCases.h"

#include <gtest/gtest.h>

namespace {

class ConsoleOutputCollectorLines : public testing::TestWithParam<ConsoleLineCase>
{
};

// The runner reads in pieces of any size, so every split of the stream must
// give the same list; a consumer that mirrors the list from the hook alone
// must end with the same list.
TEST_P(ConsoleOutputCollectorLines, GiveTheSameEntriesInAnyPieces)
{
    const ConsoleLineCase &lineCase = GetParam();
    for (const qsizetype pieceSize : {qsizetype(1), qsizetype(7), qsizetype(4096)}) {
        SCOPED_TRACE(pieceSize);
        QStringList output{"kept from before"};
        QStringList mirror{"kept from before"};
        int lastFlushes = 0;
        ConsoleOutputCollector collector(&output, [&](const ConsoleFlush &flush) {
            if (flush.appended)
                mirror.append(flush.text);
            else
                mirror.last() = flush.text;
            lastFlushes += flush.isLast ? 1 : 0;
        });
        for (qsizetype at = 0; at < lineCase.bytes.size(); at += pieceSize)
            collector.feed(
                lineCase.bytes.constData() + at, std::min(pieceSize, lineCase.bytes.size() - at));
        collector.finish();

        const QStringList expected = QStringList{"kept from before"} + lineCase.entries;
        EXPECT_EQ(output, expected);
        EXPECT_EQ(mirror, expected);
        EXPECT_EQ(lastFlushes, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ConsoleOutputCollectorLines, testing::ValuesIn(ConsoleLineCases()),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ConsoleOutputCollector, ReportsEachFlush)
{
    std::vector<std::tuple<QString, bool, bool>> flushes;
    ConsoleOutputCollector collector(nullptr, [&](const ConsoleFlush &flush) {
        flushes.emplace_back(flush.text, flush.appended, flush.isLast);
    });
    const QByteArray bytes = "frame=1\rframe=2\rdone\r\n";
    collector.feed(bytes.constData(), bytes.size());
    collector.finish();
    const std::vector<std::tuple<QString, bool, bool>> expected{
        {"frame=1", true, false},
        {"frame=2", false, false},
        {"done", false, false},
        {"", true, true},
    };
    EXPECT_EQ(flushes, expected);
}

TEST(ConsoleOutputCollector, ListEmptiedMeanwhileGetsTheNextLine)
{
    QStringList output;
    ConsoleOutputCollector collector(&output, [&](const ConsoleFlush &flush) {
        if (flush.text == u"frame=1")
            output.clear();
    });
    const QByteArray bytes = "frame=1\rframe=2\r";
    collector.feed(bytes.constData(), bytes.size());
    EXPECT_EQ(output, QStringList{"frame=2"});
}

} // namespace
