#include "encoding/InvalidSettings.h"

#include "CommandTestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using CommandTest::Inputs;

namespace {

QStringList sortedKeys(const QHash<QString, QString> &found)
{
    QStringList keys = found.keys();
    keys.sort();
    return keys;
}

TEST(InvalidSettings, FindsEveryInvalidValueEvenWhenOneHidesAnother)
{
    struct Case
    {
        const char *name;
        void (*prepare)(Inputs &);
        QStringList controls; // sorted
    };
    const Case cases[] = {
        {"none", [](Inputs &) {}, {}},
        // Video and audio pieces each report their own.
        {"two at once",
            [](Inputs &t) {
                t.settings.cbAviVideoBitrate = u"x"_s;
                t.settings.cbAudioBitrate = u"y"_s;
            },
            {u"cbAudioBitrate"_s, u"cbAviVideoBitrate"_s}},
        // The video piece stops at the bitrate and never reads the rate.
        {"one hides another",
            [](Inputs &t) {
                t.settings.cbAviVideoBitrate = u"x"_s;
                t.settings.cbAviVideoFPS = u"25..0"_s;
            },
            {u"cbAviVideoBitrate"_s, u"cbAviVideoFPS"_s}},
        {"hidden twice over",
            [](Inputs &t) {
                t.settings.pcVideoFormat = EncodingSettings::tsMpg;
                t.settings.cbMpgVideoBitrate = u"x"_s;
                t.settings.cbMpgVideoFPS = u"y"_s;
                t.settings.cbAudioBitrate = u"z"_s;
                t.settings.cbAudioSampling = u"w"_s;
            },
            {u"cbAudioBitrate"_s, u"cbAudioSampling"_s, u"cbMpgVideoBitrate"_s,
                u"cbMpgVideoFPS"_s}},
    };
    for (const Case &c : cases) {
        Inputs t;
        t.video(640, 480, 25, 0.1, 1000);
        t.audio(2, 48000, 128);
        c.prepare(t);
        const EncodingSettings before = t.settings;
        const QHash<QString, QString> found
            = FindInvalidSettings(t.settings, t.lists, t.strings, t.info);
        EXPECT_EQ(sortedKeys(found), c.controls) << c.name;
        EXPECT_EQ(t.settings, before) << c.name;
    }
}

// The message beside a control is the one a run would show for it.
TEST(InvalidSettings, KeepsTheMessageOfEachControl)
{
    Inputs t;
    t.settings.cbAviVideoBitrate = u"x"_s;
    t.settings.cbAviVideoFPS = u"25..0"_s;
    const QHash<QString, QString> found
        = FindInvalidSettings(t.settings, t.lists, t.strings, t.info);
    EXPECT_TRUE(found.value(u"cbAviVideoBitrate"_s).startsWith(u"Video bitrate: x"_s))
        << found.value(u"cbAviVideoBitrate"_s);
    EXPECT_TRUE(found.value(u"cbAviVideoFPS"_s).contains(u"25..0"_s))
        << found.value(u"cbAviVideoFPS"_s);
}

} // namespace
