#include "MainWindowFixture.h"

#include "ui/settings/ConversionSettingsPanel.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {

using SharedSettings = MainWindowFixture;

template <typename T> T *child(const QObject &parent, const char *name)
{
    T *widget = parent.findChild<T *>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// The output options below the list and the encoder settings are one
// record: what one panel writes, the other panel, the run and the settings
// file all see, and neither panel's commands undo the other's values.
TEST_F(SharedSettings, BothPanelsAndTheWindowReadAndWriteOneRecord)
{
    writeSettings();
    TFormMain &window = open();
    ConversionSettingsPanel *panel = window.conversionSettings();

    child<QRadioButton>(window, "rbOutDir")->click();
    auto *edOutDir = child<QLineEdit>(window, "edOutDir");
    edOutDir->clear();
    QTest::keyClicks(edOutDir, "/videos/out");
    EXPECT_TRUE(panel->settings().rbOutDir);
    EXPECT_EQ(panel->settings().edOutDir, "/videos/out");

    QLineEdit *bitrate = child<QComboBox>(*panel, "cbAviVideoBitrate")->lineEdit();
    bitrate->selectAll();
    QTest::keyClicks(bitrate, "900");
    EXPECT_EQ(window.settings().cbAviVideoBitrate, "900");

    panel->action("actSetDefaultEncoderSettings")->trigger();
    EXPECT_NE(window.settings().cbAviVideoBitrate, "900");
    EXPECT_EQ(window.settings().edOutDir, "/videos/out");
    EXPECT_TRUE(window.settings().rbOutDir);
    EXPECT_EQ(edOutDir->text(), "/videos/out");
    EXPECT_TRUE(child<QRadioButton>(window, "rbOutDir")->isChecked());
}

} // namespace
