#include "encoding/SettingsFileTransfer.h"

#include <gtest/gtest.h>

TEST(SettingsFileTransfer, OutputOptionsAndPageTravelBothWays)
{
    MainSettings main;
    main.OutputFormat = EncodingSettings::tsMpg;
    main.output = {true, QStringLiteral("/v/out"), 2, 1, true};
    EncodingSettings s;
    ApplyMainSettings(s, main);
    EXPECT_TRUE(s.IsMpg());
    EXPECT_TRUE(s.rbOutDir);
    EXPECT_EQ(s.edOutDir, "/v/out");
    EXPECT_EQ(s.cbOutputExists, 2);
    EXPECT_EQ(s.cbAfterConversion, 1);
    EXPECT_TRUE(s.chKeepDates);

    MainSettings back;
    StoreMainSettings(back, s);
    EXPECT_EQ(back.OutputFormat, main.OutputFormat);
    EXPECT_EQ(back.output, main.output);
}
