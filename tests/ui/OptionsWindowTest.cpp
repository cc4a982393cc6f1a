#include "ui/options/OptionsWindow.h"
#include "app/AppParams.h"
#include "i18n/AppStrings.h"
#include "support/TestSupport.h"
#include "ui/options/LanguageSwitcher.h"
#include "ui/options/OptionsTarget.h"
#include "ui/tools/ToolsInfoWindow.h"
#include "ui/update/CheckUpdateWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class RecordingTarget : public OptionsTarget
{
public:
    FileListLook look;
    int codec = 0;
    AppTheme shownTheme = AppTheme::System;
    int jobs = 0;
    QStringList calls;

    FileListLook fileListLook() const override { return look; }
    int defaultVideoCodec() const override { return codec; }
    AppTheme theme() const override { return shownTheme; }
    int simultaneousConversions() const override { return jobs; }
    void setListFontName(const QString &family) override { calls << "fontName " + family; }
    void setListFontSize(int points) override { record("fontSize", points); }
    void setListRowHeight(int pixels) override { record("rowHeight", pixels); }
    void setListGridLines(bool on) override { record("gridLines", on); }
    void setListFooterVisible(bool on) override { record("footer", on); }
    void setListRowIndicator(bool on) override { record("rowIndicator", on); }
    void setListRowMovingAllowed(bool on) override { record("rowMoving", on); }
    void setListColumnMovingAllowed(bool on) override { record("columnMoving", on); }
    void setDefaultVideoCodec(int aviCodec) override { record("codec", aviCodec); }
    void setSimultaneousConversions(int count) override { record("jobs", count); }
    void setTheme(AppTheme theme) override { calls << "theme " + ThemeText(theme); }
    void appParamsChanged(const TAppParams &params) override
    {
        calls << QStringLiteral("params %1 %2")
                     .arg(params.OpenFileAfterIconClick)
                     .arg(int(params.FileAnalysis));
    }

    // The calls since the last take, "|"-joined.
    std::string take() { return std::exchange(calls, {}).join(u'|').toStdString(); }

private:
    void record(const char *what, int value)
    {
        calls << QString::fromLatin1(what) + u' ' + QString::number(value);
    }
};

template <typename T> T *child(QWidget &window, const char *name)
{
    T *widget = window.findChild<T *>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void writeLanguage(const QString &dir, const QString &name, const QByteArray &text)
{
    ASSERT_TRUE(TestSupport::WriteFile(dir + u'/' + name, text));
}

class OptionsWindow : public ::testing::Test
{
protected:
    OptionsWindow()
    {
        m_params.LangDir = m_dir.filePath("lang");
        m_params.FileAnalysis = faNone;
        m_params.OpenFileAfterIconClick = true;
        m_target.look
            = {QFontDatabase::families().value(0), 13, 20, true, false, true, false, true};
        m_target.codec = 0;
    }

    QTemporaryDir m_dir;
    TAppParams m_params;
    TAppStrings m_strings;
    RecordingTarget m_target;
};

} // namespace

TEST_F(OptionsWindow, FillsWithoutWritingBackAndEachControlActsAtOnce)
{
    LanguageSwitcher languages(m_strings, m_params);
    TFormOptions window(m_target, languages, m_params);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    EXPECT_EQ(child<QFontComboBox>(window, "cbFileListFont")->currentFont().family(),
        m_target.look.ListFontName);
    auto *fontSize = child<QSpinBox>(window, "edFileListFontSize");
    auto *rowHeight = child<QSpinBox>(window, "edFileListRowHeight");
    auto *analysis = child<QComboBox>(window, "cbFileListFileAnalysis");
    auto *codec = child<QComboBox>(window, "cbDefaultVideoCodec");
    EXPECT_EQ(fontSize->value(), 13);
    EXPECT_EQ(rowHeight->value(), 20);
    EXPECT_EQ(analysis->currentText(), "None");
    EXPECT_EQ(codec->currentText(), "Xvid");
    auto *theme = child<QComboBox>(window, "cbTheme");
    EXPECT_EQ(theme->currentText(), "System");
    EXPECT_TRUE(window.testAttribute(Qt::WA_WState_Visible));
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(m_target.take(), "");

    // clang-format off
    const struct { const char *box; bool checked; const char *call; } boxes[] = {
        {"chFileListGridLines", true, "gridLines 0"}, {"chFileListFooter", false, "footer 1"},
        {"chFileListRowIndicator", true, "rowIndicator 0"},
        {"chFileListAllowRowMoving", false, "rowMoving 1"},
        {"chFileListAllowColumnMoving", true, "columnMoving 0"},
        {"chFileListIconClickOpen", true, "params 0 0"},
    };
    // clang-format on
    for (const auto &b : boxes) {
        auto *box = child<QCheckBox>(window, b.box);
        EXPECT_EQ(box->isChecked(), b.checked) << b.box;
        QTest::keyClick(box, Qt::Key_Space);
        EXPECT_EQ(m_target.take(), b.call) << b.box;
    }
    EXPECT_FALSE(m_params.OpenFileAfterIconClick);

    QTest::keyClick(fontSize, Qt::Key_Up);
    QTest::keyClick(rowHeight, Qt::Key_Up);
    analysis->setCurrentIndex(1);
    EXPECT_EQ(m_params.FileAnalysis, faQuick);
    codec->setCurrentIndex(0);
    codec->setCurrentIndex(1);
    theme->setCurrentIndex(2);
    theme->setCurrentIndex(1);
    EXPECT_EQ(m_target.take(),
        "fontSize 14|rowHeight 21|params 0 1|codec 2|codec 0|theme Dark|theme Light");

    // A font counts when picked from the list, not while its name is typed.
    auto *font = child<QFontComboBox>(window, "cbFileListFont");
    QTest::keyClicks(font->lineEdit(), "Zz");
    EXPECT_EQ(m_target.take(), "");
    font->setCurrentIndex(0);
    QTest::keyClick(font, Qt::Key_Down);
    EXPECT_EQ(m_target.take(), "fontName " + font->currentFont().family().toStdString());

    // Shown again, the window reads the values anew and writes nothing.
    window.hide();
    m_target.look = {m_target.look.ListFontName, 6, 50, false, false, false, false, false};
    m_target.codec = 2;
    m_target.shownTheme = AppTheme::Dark;
    m_params.FileAnalysis = faFull;
    m_params.OpenFileAfterIconClick = true;
    window.show();
    EXPECT_EQ(fontSize->value(), 6);
    EXPECT_EQ(rowHeight->value(), 50);
    EXPECT_FALSE(child<QCheckBox>(window, "chFileListGridLines")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(window, "chFileListIconClickOpen")->isChecked());
    EXPECT_EQ(analysis->currentIndex(), 0);
    EXPECT_EQ(codec->currentText(), "H.264");
    EXPECT_EQ(theme->currentText(), "Dark");
    EXPECT_EQ(m_target.take(), "");
    EXPECT_EQ(m_params.FileAnalysis, faFull);
}

TEST_F(OptionsWindow, ClosesByKeyAndMakesTheDesktopEntryOnce)
{
    LanguageSwitcher languages(m_strings, m_params);
    TFormOptions window(m_target, languages, m_params);
    const QString desktop = m_dir.filePath("Desktop");
    window.setDesktopFolder(desktop);
    for (const Qt::Key key : {Qt::Key_F12, Qt::Key_Escape}) {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QTest::keyClick(child<QSpinBox>(window, "edFileListRowHeight"), key);
        EXPECT_FALSE(window.isVisible()) << key;
    }
    // Enter in a typed field applies it and leaves the window open.
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::setActiveWindow(&window);
    for (QWidget *field :
        {static_cast<QWidget *>(child<QFontComboBox>(window, "cbFileListFont")->lineEdit()),
            static_cast<QWidget *>(child<QSpinBox>(window, "edFileListFontSize"))}) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_TRUE(window.isVisible()) << field->objectName().toStdString();
    }
    window.hide();

    auto *button = child<QPushButton>(window, "btnCreateShortcutOnDesktop");
    QTest::mouseClick(button, Qt::LeftButton);
    const QString entry = desktop + "/Quillon.desktop";
    const QByteArray text = TestSupport::ReadFile(entry);
    EXPECT_TRUE(text.contains("\nExec=" + QCoreApplication::applicationFilePath().toUtf8() + "\n"))
        << text.constData();
    EXPECT_TRUE(QFileInfo(entry).isExecutable());
    ASSERT_TRUE(TestSupport::WriteFile(entry, "kept"));
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(TestSupport::ReadFile(entry), "kept");
    EXPECT_EQ(QDir(desktop).entryList(QDir::Files), QStringList{"Quillon.desktop"});
}

TEST_F(OptionsWindow, ChoosingALanguageChangesEveryShownWindowAtOnce)
{
    const QString lang = m_params.LangDir;
    ASSERT_TRUE(QDir().mkpath(lang));
    writeLanguage(lang, "German.ini",
        "[INFO]\nLangName_InEnglish=German\nLangName_Native=Deutsch\n"
        "[Options]\nCaption=Optionen\nFileAnalysis_None=Keine\n[Errors]\nactClose=Schlie\xc3\x9f"
        "en\n[ToolsInfo]\nCaption=Werkzeuge\n[CheckUpdate]\nCaption=Aktualisierung\n");
    writeLanguage(lang, "Polish.ini",
        "[INFO]\nLangName_InEnglish=Polish\nLangName_Native=Polski\n[Options]\nCaption=Opcje\n");
    // The same native name as German.ini, later by file name.
    writeLanguage(lang, "Zweites.ini",
        "[INFO]\nLangName_InEnglish=Second\nLangName_Native=DEUTSCH \n[Options]\nCaption=Falsch\n");
    writeLanguage(lang, "Nameless.ini", "[INFO]\nLangName_Native=Nameless\n");

    LanguageSwitcher languages(m_strings, m_params);
    TFormOptions options(m_target, languages, m_params);
    TFormToolsInfo tools(m_params, m_strings);
    TFormCheckUpdate update(m_params, m_strings);
    QObject::connect(
        &languages, &LanguageSwitcher::languageChanged, &options, &TFormOptions::SetLang);
    QObject::connect(
        &languages, &LanguageSwitcher::languageChanged, &tools, &TFormToolsInfo::SetLang);
    QObject::connect(
        &languages, &LanguageSwitcher::languageChanged, &update, &TFormCheckUpdate::SetLang);
    for (QWidget *window : std::initializer_list<QWidget *>{&options, &tools, &update})
        window->show();

    auto *box = child<QComboBox>(options, "cbLanguage");
    ASSERT_EQ(box->count(), 3);
    EXPECT_EQ(box->itemText(0), "Deutsch");
    // No language chosen yet: the first entry shows, the texts stay English.
    EXPECT_EQ(box->currentIndex(), 0);
    EXPECT_EQ(options.windowTitle(), "Options");
    EXPECT_EQ(box->maxVisibleItems(), 18);

    box->setCurrentIndex(1);
    EXPECT_EQ(m_params.LanguageIni, "Polish.ini");
    EXPECT_EQ(options.windowTitle(), "Opcje");

    // Either "Deutsch" entry loads the first file of that name.
    box->setCurrentIndex(2);
    EXPECT_EQ(m_params.LanguageIni, "German.ini");
    EXPECT_EQ(options.windowTitle(), "Optionen");
    EXPECT_EQ(tools.windowTitle(), "Werkzeuge");
    EXPECT_EQ(update.windowTitle(), "Aktualisierung");
    EXPECT_EQ(child<QPushButton>(update, "btnClose")->text(), "Schlie\u00dfen");
    EXPECT_EQ(child<QComboBox>(options, "cbFileListFileAnalysis")->currentText(), "Keine");
    EXPECT_EQ(m_target.take(), "");

    // What Polish lacks is English again, not German.
    box->setCurrentIndex(1);
    EXPECT_EQ(tools.windowTitle(), "Tools info");
    EXPECT_EQ(child<QComboBox>(options, "cbFileListFileAnalysis")->currentText(), "None");
}

TEST_F(OptionsWindow, WithoutLanguageFilesOnlyEnglishIsOffered)
{
    for (const bool folder : {false, true}) {
        if (folder) {
            ASSERT_TRUE(QDir().mkpath(m_params.LangDir));
        }
        m_params.LanguageIni = "German.ini";
        LanguageSwitcher languages(m_strings, m_params);
        TFormOptions window(m_target, languages, m_params);
        auto *box = child<QComboBox>(window, "cbLanguage");
        ASSERT_EQ(box->count(), 1);
        EXPECT_EQ(box->currentText(), "English");
        EXPECT_FALSE(languages.chooseByNativeName("English"));
        EXPECT_EQ(m_params.LanguageIni, "German.ini");
    }
}
