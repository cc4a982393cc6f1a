#include "SettingsPanelSupport.h"

#include "encoding/Profiles.h"
#include "encoding/SettingsTable.h"
#include "i18n/AppStrings.h"
#include "support/TestSupport.h"
#include "ui/settings/CommandLineWindow.h"
#include "ui/settings/ListColors.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMap>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

// What a user sees in every control of a setting: the text of an editable
// list, index and text of another, check state, value, text.
QMap<QString, QString> shownValues(const ConversionSettingsPanel &panel)
{
    QMap<QString, QString> shown;
    for (const SettingDescriptor &d : SettingsTable()) {
        const QString name = QLatin1String(d.control);
        QWidget *w = panel.findChild<QWidget *>(name);
        if (auto *b = qobject_cast<QComboBox *>(w); b && b->isEditable())
            shown[name] = b->currentText();
        else if (b)
            shown[name] = QString::number(b->currentIndex()) + u'|' + b->currentText();
        else if (auto *c = qobject_cast<QCheckBox *>(w))
            shown[name] = c->isChecked() ? u"1"_s : u"0"_s;
        else if (auto *s = qobject_cast<QSpinBox *>(w))
            shown[name] = QString::number(s->value());
        else if (auto *t = qobject_cast<QSlider *>(w))
            shown[name] = QString::number(t->value());
        else if (auto *m = qobject_cast<QPlainTextEdit *>(w))
            shown[name] = m->toPlainText();
        else if (auto *p = qobject_cast<QTabWidget *>(w))
            shown[name] = QString::number(p->currentIndex());
    }
    return shown;
}

bool noMessageBoxOpen()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<QMessageBox *>(w) && w->isVisible())
            return false;
    return QApplication::activeModalWidget() == nullptr;
}

} // namespace

TEST_F(SettingsPanelTest, EdgeCasesOfTheControls)
{
    // Without the data file: Auto, Custom and the 15 built-in presets.
    ASSERT_EQ(box("cbResolution")->count(), 17);
    EXPECT_EQ(box("cbResolution")->itemText(2), u"128 x 196 - SQCIF"_s);

    // H.264 shows the threads control; another codec hides it, text kept.
    type("cbAviVideoThreads", u"3"_s);
    box("cbAviVideoCodec")->setCurrentIndex(3);
    EXPECT_TRUE(box("cbAviVideoThreads")->isHidden());
    EXPECT_TRUE(w<QLabel>("lblAviVideoThreads")->isHidden());
    box("cbAviVideoCodec")->setCurrentIndex(2);
    EXPECT_FALSE(box("cbAviVideoThreads")->isHidden());
    EXPECT_EQ(text("cbAviVideoThreads"), u"3"_s);

    // MPG with a DVD preset: audio, tag, size and cropping off, the picture
    // filters on.
    w<QTabWidget>("pcVideoFormat")->setCurrentIndex(1);
    box("cbMpgVideo")->setCurrentIndex(0);
    EXPECT_EQ(w<QLabel>("lblMpgInfo")->text(), u"MPEG-2 / 720 x 576 / 25 fps / AC3"_s);
    for (const char *off : {"cbAudioCodec", "cbAudioBitrate", "cbAudioSampling", "cbAudioChannels",
             "tbAudioVolume", "chAudioDontCopy", "cbAudioTrackNo", "chVideoFourcc", "cbResolution",
             "spedCropTop", "spedCropBottom", "spedCropLeft", "spedCropRight", "cbMpgVideoBitrate"})
        EXPECT_FALSE(w<QWidget>(off)->isEnabled()) << off;
    for (const char *on : {"chFlipHorizontal", "chFlipVertical", "chRotate", "chNegative",
             "chConvertColors", "chBrightness", "chSaturation", "cbMpgVideo", "chMpgVideo2Pass"})
        EXPECT_TRUE(w<QWidget>(on)->isEnabled()) << on;
    box("cbMpgVideo")->setCurrentIndex(2);
    EXPECT_EQ(w<QLabel>("lblMpgInfo")->text(), u"User settings"_s);
    EXPECT_TRUE(box("cbResolution")->isEnabled());

    // The volume factor follows the track bar.
    for (const auto &[position, label] :
        {std::pair{100, "1.00x"}, std::pair{5, "0.05x"}, std::pair{300, "3.00x"}}) {
        w<QSlider>("tbAudioVolume")->setValue(position);
        EXPECT_EQ(w<QLabel>("lblAudioVolume")->text(), QLatin1String(label));
        EXPECT_EQ(m_panel.settings().tbAudioVolume, position);
    }
    w<QCheckBox>("chSaturation")->setChecked(true);
    w<QSlider>("tbSaturation")->setValue(15);
    EXPECT_EQ(w<QLabel>("lblSaturationValue")->text(), u"1.5"_s);

    // The default command with H.264 as the default encoder.
    m_panel.setDefaultVideoCodec(2);
    m_panel.action("actSetDefaultEncoderSettings")->trigger();
    EXPECT_EQ(text("cbAviVideoCodec"), u"H.264 / MPEG-4 AVC"_s);
    EXPECT_FALSE(box("cbAviVideoThreads")->isHidden());
    EXPECT_EQ(text("cbAviVideoThreads"), u"Auto"_s);
    EXPECT_EQ(w<QTabWidget>("pcVideoFormat")->currentIndex(), 0);
    EXPECT_EQ(w<QSlider>("tbAudioVolume")->value(), 100);
    EXPECT_EQ(box("cbProfileNew")->currentIndex(), 1);
}

TEST_F(SettingsPanelTest, ProfileSavedFromTheWidgetsLoadsBackTheSame)
{
    box("cbAviVideoCodec")->setCurrentIndex(6);
    type("cbAviVideoBitrate", u"1234"_s);
    type("cbAviVideoFPS", u"29.97"_s);
    type("cbAviVideoAspect", u"16:9"_s);
    w<QCheckBox>("chAviVideo2Pass")->setChecked(true);
    box("cbMpgVideo")->setCurrentIndex(1);
    box("cbAudioCodec")->setCurrentIndex(2);
    type("cbAudioSampling", u"44100"_s);
    w<QSlider>("tbAudioVolume")->setValue(150);
    box("cbResolution")->setCurrentIndex(1);
    w<QSpinBox>("spedResWidth")->setValue(640);
    w<QSpinBox>("spedCropLeft")->setValue(16);
    w<QCheckBox>("chBrightness")->setChecked(true);
    w<QSlider>("tbBrightness")->setValue(-5);
    w<QCheckBox>("chRotate")->setChecked(true);
    type("cbRotate", u"90"_s);
    w<QPlainTextEdit>("meParams")->setPlainText(u"-metadata title=\"A B\""_s);
    const EncodingSettings saved = m_panel.settings();
    const QMap<QString, QString> shown = shownValues(m_panel);

    const QString file = m_params.ProfilesDir + u"/Mine.ini"_s;
    ASSERT_TRUE(m_panel.saveProfileAs(file));
    // Listed and selected at once, without a load.
    ASSERT_EQ(box("cbProfileNew")->count(), 3);
    EXPECT_EQ(box("cbProfileNew")->itemText(2), u"Mine"_s);
    EXPECT_EQ(box("cbProfileNew")->currentIndex(), 2);

    m_panel.setDefaultEncoderSettings();
    ASSERT_NE(m_panel.settings(), saved);
    QSignalSpy changed(&m_panel, &ConversionSettingsPanel::settingsChanged);
    box("cbProfileNew")->setCurrentIndex(2);
    Q_EMIT box("cbProfileNew")->activated(2); // the user's choice loads it
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(m_panel.settings(), saved);
    EXPECT_EQ(shownValues(m_panel), shown);

    // "<-- Load" beside the list loads the chosen entry again.
    w<QSpinBox>("spedCropLeft")->setValue(8);
    ASSERT_NE(m_panel.settings(), saved);
    ASSERT_EQ(box("cbProfileNew")->currentIndex(), 2);
    w<QToolButton>("btnLoadSelectedProfile")->click();
    EXPECT_EQ(m_panel.settings(), saved);
    EXPECT_EQ(w<QToolButton>("btnLoadSelectedProfile")->text(), u"<-- Load"_s);

    // A file outside the profiles folder leaves the list alone.
    ASSERT_TRUE(m_panel.saveProfileAs(m_dir.filePath(u"elsewhere.ini"_s)));
    EXPECT_EQ(box("cbProfileNew")->count(), 3);
}

TEST_F(SettingsPanelTest, ProfileListOrderAndColours)
{
    const auto profile = [&](const char *file, const QByteArray &keys) {
        ASSERT_TRUE(TestSupport::WriteFile(m_params.ProfilesDir + u'/' + QLatin1String(file),
            "[MAIN]\nAppName=Quillon\nAppVer=1.10\n" + keys));
    };
    profile("a.ini", "DisplayName=Second\nSortIndex=2\nBgColor=#1F4E79\nFontColor=#FFFFFF\n");
    profile("b.ini", "DisplayName=First\nSortIndex=1\n"); // white on white
    profile("c.ini", "DisplayName=Two\\nlines[clb=#ff0000]\nBgColor=#808000\nFontColor=#808000\n");
    profile("__Last.ini", "DisplayName=Never listed\n");
    m_panel.setParams(m_params);

    QComboBox *list = box("cbProfileNew");
    ASSERT_EQ(list->count(), 5);
    EXPECT_EQ(list->itemText(0), u"The last session settings"_s);
    EXPECT_EQ(list->itemText(1), u"Encoder default settings"_s);
    EXPECT_EQ(list->itemText(2), u"Two\nlines"_s); // no SortIndex: -1, first
    EXPECT_EQ(list->itemText(3), u"First"_s);
    EXPECT_EQ(list->itemText(4), u"Second"_s);

    const auto background
        = [&](int i) { return list->itemData(i, Qt::BackgroundRole).value<QBrush>().color(); };
    const auto foreground
        = [&](int i) { return list->itemData(i, Qt::ForegroundRole).value<QBrush>().color(); };
    EXPECT_TRUE(list->itemData(1, Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(list->itemData(0, Qt::FontRole).value<QFont>().bold());
    // Equal colours become light grey on dark grey; own colours stay.
    EXPECT_EQ(background(2), QColor(51, 51, 51));
    EXPECT_EQ(foreground(2), QColor(230, 230, 230));
    EXPECT_EQ(background(4), QColor(0x1F, 0x4E, 0x79));
    EXPECT_EQ(foreground(4), QColor(Qt::white));

    // White on white and the fixed entries take the palette: light grey on
    // a white base, and still the text on the base in a dark theme.
    QPalette light;
    light.setColor(QPalette::Base, Qt::white);
    light.setColor(QPalette::Text, Qt::black);
    list->setPalette(light);
    for (int i : {0, 1, 3}) {
        EXPECT_EQ(background(i), QColor(240, 240, 240)) << i;
        EXPECT_EQ(foreground(i), QColor(Qt::black)) << i;
    }
    QPalette dark;
    dark.setColor(QPalette::Base, QColor(30, 30, 32));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    list->setPalette(dark);
    EXPECT_LT(background(3).lightnessF(), 0.3);
    EXPECT_EQ(foreground(3), QColor(230, 230, 230));
}

TEST_F(SettingsPanelTest, ResolutionEntriesDrawnBoldAndTinted)
{
    QComboBox *list = box("cbResolution");
    list->addItem(u"50%"_s); // as a data file may add
    for (const QPalette &palette :
        {QPalette(Qt::white), QPalette(QColor(40, 40, 40), QColor(30, 30, 30))}) {
        list->setPalette(palette);
        ApplyResolutionEntryLook(list);
        const QColor base = palette.color(QPalette::Base);
        EXPECT_TRUE(list->itemData(0, Qt::FontRole).value<QFont>().bold());
        EXPECT_TRUE(list->itemData(1, Qt::FontRole).value<QFont>().bold());
        EXPECT_FALSE(list->itemData(2, Qt::FontRole).isValid());
        EXPECT_FALSE(list->itemData(2, Qt::BackgroundRole).isValid()); // SQCIF: no kind
        const QColor custom = list->itemData(1, Qt::BackgroundRole).value<QBrush>().color();
        const QColor percent
            = list->itemData(list->count() - 1, Qt::BackgroundRole).value<QBrush>().color();
        EXPECT_NE(custom, percent);
        // A tint stays on the base's side, so the palette's text reads on it.
        for (const QColor &tint : {custom, percent})
            EXPECT_LT(std::abs(tint.lightnessF() - base.lightnessF()), 0.3);
    }
}

TEST_F(SettingsPanelTest, PasteChecksEachText)
{
    QAction *pasteAvi = m_panel.action("actPasteVideoSettings_Avi");
    EXPECT_FALSE(pasteAvi->isEnabled()); // nothing copied yet

    const struct
    {
        const char *control;
        QString copied, pasted;
    } cases[] = {
        {"cbAviVideoThreads", u"x"_s, u"Auto"_s},
        {"cbAviVideoThreads", u"4"_s, u"4"_s},
        {"cbAviVideoBitrate", u"12a"_s, u"Auto"_s},
        {"cbAviVideoBitrate", u"1234"_s, u"1234"_s},
        {"cbAviVideoFPS", u"fast"_s, u"Auto"_s},
        {"cbAviVideoFPS", u"29,97"_s, u"29,97"_s},
        {"cbAviVideoAspect", u"16:"_s, u"Auto"_s},
        {"cbAviVideoAspect", u"16:9"_s, u"16:9"_s},
        {"cbMpgVideoBitrate", u"abc"_s, u"Auto"_s},
        {"cbMpgVideoBitrate", u"5000"_s, u"5000"_s},
        {"cbMpgVideoFPS", u"1.2.3"_s, u"Auto"_s},
        {"cbMpgVideoFPS", u"25"_s, u"25"_s},
        {"cbAudioBitrate", u"x"_s, u"Auto"_s},
        {"cbAudioBitrate", u"192"_s, u"192"_s},
        {"cbAudioSampling", u"44k"_s, u"Auto"_s},
        {"cbAudioSampling", u"44100"_s, u"44100"_s},
    };
    for (const auto &c : cases) {
        const char *group = QByteArray(c.control).startsWith("cbAvi") ? "VideoSettings_Avi"
            : QByteArray(c.control).startsWith("cbMpg")               ? "VideoSettings_Mpg"
                                                                      : "AudioSettings";
        type(c.control, c.copied);
        m_panel.action(QByteArray("actCopy") + group)->trigger();
        type(c.control, u"777"_s);
        w<QTabWidget>("pcVideoFormat")->setCurrentIndex(QByteArray(group).endsWith("Avi") ? 1 : 0);
        QAction *paste = m_panel.action(QByteArray("actPaste") + group);
        ASSERT_TRUE(paste->isEnabled()) << c.control;
        paste->trigger();
        EXPECT_EQ(text(c.control), c.pasted) << c.control << " " << c.copied.toStdString();
        if (QByteArray(group).startsWith("Video")) {
            EXPECT_EQ(w<QTabWidget>("pcVideoFormat")->currentIndex(),
                QByteArray(group).endsWith("Avi") ? 0 : 1);
        }
    }

    // The audio track: kept inside the current list, else the automatic one.
    EncodingLists lists = m_panel.lists();
    lists.cbAudioTrackNo = {u"Auto (first audio track)"_s, u"1"_s, u"2"_s, u"3"_s};
    m_panel.setLists(lists);
    box("cbAudioTrackNo")->setCurrentIndex(3);
    m_panel.action("actCopyAdvancedSettings")->trigger();
    box("cbAudioTrackNo")->setCurrentIndex(1);
    m_panel.action("actPasteAdvancedSettings")->trigger();
    EXPECT_EQ(box("cbAudioTrackNo")->currentIndex(), 3);
    lists.cbAudioTrackNo.resize(2);
    m_panel.setLists(lists);
    m_panel.action("actPasteAdvancedSettings")->trigger();
    EXPECT_EQ(box("cbAudioTrackNo")->currentIndex(), 0);

    // A run disables every command and control, the profile list too;
    // afterwards only copied groups paste.
    m_panel.setRunning(true);
    for (QAction *a : m_panel.encoderMenuActions())
        EXPECT_TRUE(a->isSeparator() || !a->isEnabled()) << a->objectName().toStdString();
    for (const char *control : {"cbProfileNew", "cbAudioTrackNo", "pcVideoFormat"})
        EXPECT_FALSE(w<QWidget>(control)->isEnabled()) << control;
    m_panel.setRunning(false);
    EXPECT_TRUE(box("cbProfileNew")->isEnabled());
    EXPECT_TRUE(pasteAvi->isEnabled());
    EXPECT_TRUE(m_panel.action("actLoadProfile")->isEnabled());
}

TEST_F(SettingsPanelTest, EncoderMenuOrderAndShortcuts)
{
    QStringList names;
    for (QAction *a : m_panel.encoderMenuActions())
        names << (a->isSeparator() ? u"-"_s : a->objectName());
    EXPECT_EQ(names.join(u' '),
        u"actLoadProfile actLoadSelectedProfile actSaveProfile - actSetDefaultEncoderSettings - "
        "actCopyVideoSettings_Avi "
        "actPasteVideoSettings_Avi actDefaultVideoSettings_Avi - actCopyVideoSettings_Mpg "
        "actPasteVideoSettings_Mpg actDefaultVideoSettings_Mpg - actCopyAudioSettings "
        "actPasteAudioSettings actDefaultAudioSettings - actCopyAdvancedSettings "
        "actPasteAdvancedSettings actDefaultAdvancedSettings - actShowCmdLine"_s);
    EXPECT_EQ(m_panel.action("actLoadProfile")->shortcut(), QKeySequence(u"Ctrl+P"_s));
    EXPECT_EQ(m_panel.action("actSaveProfile")->shortcut(), QKeySequence(u"Ctrl+S"_s));
    EXPECT_EQ(m_panel.action("actShowCmdLine")->shortcut(), QKeySequence(u"F2"_s));
    EXPECT_EQ(m_panel.action("actCopyAudioSettings")->text(), u"Cop&y audio encoding settings"_s);

    // Collapsing keeps the header and hides the sections.
    QSignalSpy expanded(&m_panel, &ConversionSettingsPanel::expandedChanged);
    w<QToolButton>("pnConversionSettings")->click();
    EXPECT_FALSE(m_panel.isExpanded());
    EXPECT_TRUE(w<QWidget>("pnConversionSettingsBody")->isHidden());
    EXPECT_TRUE(box("cbProfileNew")->isVisible());
    m_panel.setProperty("expanded", true);
    EXPECT_FALSE(w<QWidget>("pnConversionSettingsBody")->isHidden());
    ASSERT_EQ(expanded.count(), 2);
    EXPECT_FALSE(expanded.at(0).at(0).toBool());
}

TEST_F(SettingsPanelTest, LanguageFileChangesTheAutoEntriesAndKeepsTypedNumbers)
{
    type("cbAviVideoBitrate", u"1500"_s);
    type("cbAviVideoFPS", u"29.97"_s);
    type("cbMpgVideoFPS", u"29,97"_s);
    type("cbAviVideoThreads", u"fast"_s);
    box("cbInterlacing")->setCurrentIndex(2);
    box("cbAudioCodec")->setCurrentIndex(8);

    const QString file = m_dir.filePath(u"Deutsch.ini"_s);
    ASSERT_TRUE(TestSupport::WriteFile(file,
        "[MAIN]\nAuto=Automatisch\nCustom=Eigene\ncbInterlacing_KeepOriginal=Beibehalten\n"
        "cbAudioCodec_Copy=Kopieren\nlblAviVideoCodec=Videocodec:\nedCropTop=Oben:\n"
        "cbProfile_DefaultSettings=Standard\nCommandLineInfo=Parameter\n"));
    TAppStrings german;
    german.LoadFromFile(file);
    m_panel.SetLang(german);

    EXPECT_EQ(text("cbAviVideoBitrate"), u"1500"_s);
    EXPECT_EQ(text("cbAviVideoFPS"), u"29.97"_s);
    EXPECT_EQ(text("cbMpgVideoFPS"), u"29,97"_s);
    EXPECT_EQ(text("cbAviVideoThreads"), u"Automatisch"_s);
    EXPECT_EQ(text("cbAudioBitrate"), u"Automatisch"_s);
    EXPECT_EQ(text("cbAviVideoAspect"), u"Automatisch"_s);
    for (const char *list : {"cbAviVideoBitrate", "cbAudioSampling", "cbResolution", "cbAudioCodec",
             "cbInterlacing", "cbAviVideoFPS"})
        EXPECT_EQ(box(list)->itemText(0), u"Automatisch"_s) << list;
    EXPECT_EQ(box("cbResolution")->itemText(1), u"Eigene"_s);
    EXPECT_EQ(box("cbAudioTrackNo")->itemText(0), u"Automatisch (first audio track)"_s);
    EXPECT_EQ(box("cbInterlacing")->currentIndex(), 2);
    EXPECT_EQ(text("cbInterlacing"), u"Beibehalten"_s);
    EXPECT_EQ(text("cbAudioCodec"), u"Kopieren"_s);
    EXPECT_EQ(box("cbProfileNew")->itemText(1), u"Standard"_s);
    EXPECT_EQ(w<QLabel>("lblAviVideoCodec")->text(), u"Videocodec:"_s);
    EXPECT_EQ(w<QLabel>("lblCropTop")->text(), u"Oben:"_s);
    EXPECT_EQ(m_panel.commandLineWindow()->windowTitle(), u"Parameter"_s);
    EXPECT_EQ(m_panel.settings().cbAviVideoThreads, u"Automatisch"_s);
}

TEST_F(SettingsPanelTest, InvalidValuesAreMarkedWhileTypingWithoutAMessageBox)
{
    m_panel.action("actShowCmdLine")->trigger(); // valid: no message
    ASSERT_TRUE(m_panel.commandLineWindow()->isVisible());
    ASSERT_TRUE(noMessageBoxOpen());

    // Typed text is shown as typed, never as markup.
    type("cbAviVideoBitrate", u"<b>12</b>"_s);
    type("cbAviVideoFPS", u"25..0"_s);
    EXPECT_TRUE(noMessageBoxOpen());
    const QComboBox *bitrate = box("cbAviVideoBitrate");
    EXPECT_TRUE(bitrate->property("invalid").toBool());
    const QString message = u"Video bitrate: <b>12</b>\nBitrate must be an integer value!"_s;
    EXPECT_EQ(UiTest::ShownText(bitrate->toolTip()), message);
    auto *mark = bitrate->lineEdit()->findChild<QAction *>(u"invalidMark"_s);
    ASSERT_NE(mark, nullptr);
    EXPECT_TRUE(mark->isVisible());
    EXPECT_EQ(UiTest::ShownText(mark->toolTip()), message);
    // Opened again, the window tells it in a box.
    m_panel.action("actShowCmdLine")->trigger();
    ASSERT_FALSE(m_panel.commandLineWindow()->isVisible());
    QStringList boxes;
    {
        UiTest::OnModal<QMessageBox> answer([&](QMessageBox *shown) {
            boxes << UiTest::ShownText(shown->text(), shown->textFormat());
            shown->accept();
        });
        m_panel.action("actShowCmdLine")->trigger();
    }
    EXPECT_EQ(boxes.value(0), message);
    // Behind the bitrate, the frame rate is found too.
    EXPECT_EQ(box("cbAviVideoFPS")->toolTip(), u"Video FPS: 25..0\nFPS must be a float value!"_s);
    // The live text leaves the failed piece out.
    EXPECT_FALSE(m_panel.commandLineWindow()->text().contains(u"-b:v"_s));
    EXPECT_TRUE(m_panel.commandLineWindow()->text().contains(u"-c:a libmp3lame"_s));

    type("cbAviVideoBitrate", u"800"_s);
    EXPECT_FALSE(bitrate->property("invalid").toBool());
    EXPECT_TRUE(bitrate->toolTip().isEmpty());
    EXPECT_FALSE(mark->isVisible());
    EXPECT_TRUE(box("cbAviVideoFPS")->property("invalid").toBool());
    type("cbAviVideoFPS", u"25"_s);
    EXPECT_FALSE(box("cbAviVideoFPS")->property("invalid").toBool());
    EXPECT_TRUE(m_panel.commandLineWindow()->text().contains(u"-b:v 800k -r 25"_s));
    EXPECT_TRUE(noMessageBoxOpen());
}
