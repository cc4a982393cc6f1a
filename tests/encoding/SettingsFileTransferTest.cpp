#include "encoding/SettingsFileTransfer.h"

#include <gtest/gtest.h>

TEST(SettingsFileTransfer, OutputOptionsAndPageTravelBothWays)
{
    MainSettings main;
    main.OutputFormat = EncodingSettings::tsMpg;
    main.output = {true, QStringLiteral("/v/out"), 2, 1, true};
    EncodingSettings s;
    ApplyMainSettings(s, main);
    EXPECT_EQ(std::tuple(s.IsMpg(), s.rbOutDir, s.edOutDir, s.cbOutputExists, s.cbAfterConversion,
                  s.chKeepDates),
        std::tuple(true, true, QStringLiteral("/v/out"), 2, 1, true));
    MainSettings back;
    StoreMainSettings(back, s);
    EXPECT_EQ(std::pair(back.OutputFormat, back.output), std::pair(main.OutputFormat, main.output));
}
