#include "ui/options/OptionsWindow.h"

#include "app/AppInfo.h"
#include "app/AppParams.h"
#include "app/DesktopShortcut.h"
#include "encoding/SettingsLists.h"
#include "i18n/AppStrings.h"
#include "i18n/LanguageStartup.h"
#include "settings/OptionsChoices.h"
#include "settings/SettingsFile.h"
#include "ui/options/LanguageSwitcher.h"
#include "ui/options/OptionsTarget.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

template <typename F> void TFormOptions::changed(F &&apply)
{
    if (!m_updating)
        apply();
}

TFormOptions::TFormOptions(
    OptionsTarget &target, LanguageSwitcher &languages, TAppParams &params, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint)
    , m_target(target)
    , m_languages(languages)
    , m_params(params)
{
    setObjectName(QStringLiteral("FormOptions"));
    createControls();
    connectControls();
    SetLang(m_languages.strings());
    InitCbLanguage();
    InitControls();
}

void TFormOptions::createFileListGroup()
{
    pnFileList = named(new QGroupBox(this), "pnFileList");
    lblFileListFontName = named(new QLabel(pnFileList), "lblFileListFontName");
    cbFileListFont = named(new QFontComboBox(pnFileList), "cbFileListFont");
    lblFileListFontSize = named(new QLabel(pnFileList), "lblFileListFontSize");
    edFileListFontSize = named(new QSpinBox(pnFileList), "edFileListFontSize");
    edFileListFontSize->setRange(MainSettings::MinListFontSize, MainSettings::MaxListFontSize);
    lblFileListRowHeight = named(new QLabel(pnFileList), "lblFileListRowHeight");
    edFileListRowHeight = named(new QSpinBox(pnFileList), "edFileListRowHeight");
    edFileListRowHeight->setRange(MainSettings::MinRowHeight, MainSettings::MaxRowHeight);
    chFileListGridLines = named(new QCheckBox(pnFileList), "chFileListGridLines");
    chFileListFooter = named(new QCheckBox(pnFileList), "chFileListFooter");
    chFileListRowIndicator = named(new QCheckBox(pnFileList), "chFileListRowIndicator");
    chFileListAllowRowMoving = named(new QCheckBox(pnFileList), "chFileListAllowRowMoving");
    chFileListAllowColumnMoving = named(new QCheckBox(pnFileList), "chFileListAllowColumnMoving");
    chFileListIconClickOpen = named(new QCheckBox(pnFileList), "chFileListIconClickOpen");
    lblFileListAnalysis = named(new QLabel(pnFileList), "lblFileListAnalysis");
    cbFileListFileAnalysis = named(new QComboBox(pnFileList), "cbFileListFileAnalysis");
    cbFileListFileAnalysis->addItems({QString(), QString(), QString()});
    lblFileListFontName->setBuddy(cbFileListFont);
    lblFileListFontSize->setBuddy(edFileListFontSize);
    lblFileListRowHeight->setBuddy(edFileListRowHeight);
    lblFileListAnalysis->setBuddy(cbFileListFileAnalysis);

    auto *fileListLayout = new QFormLayout(pnFileList);
    fileListLayout->addRow(lblFileListFontName, cbFileListFont);
    fileListLayout->addRow(lblFileListFontSize, edFileListFontSize);
    fileListLayout->addRow(lblFileListRowHeight, edFileListRowHeight);
    for (QCheckBox *box : {chFileListGridLines, chFileListFooter, chFileListRowIndicator,
             chFileListAllowRowMoving, chFileListAllowColumnMoving, chFileListIconClickOpen})
        fileListLayout->addRow(box);
    fileListLayout->addRow(lblFileListAnalysis, cbFileListFileAnalysis);
}

void TFormOptions::createControls()
{

    gbLanguage = named(new QGroupBox(this), "gbLanguage");
    cbLanguage = named(new QComboBox(gbLanguage), "cbLanguage");
    cbLanguage->setMaxVisibleItems(18);
    cbLanguage->addItem(QStringLiteral("English"));
    auto *languageLayout = new QVBoxLayout(gbLanguage);
    languageLayout->addWidget(cbLanguage);

    createFileListGroup();

    lblDefaultVideoCodec = named(new QLabel(this), "lblDefaultVideoCodec");
    cbDefaultVideoCodec = named(new QComboBox(this), "cbDefaultVideoCodec");
    // Codec names are not translated.
    cbDefaultVideoCodec->addItems({QStringLiteral("H.264"), QStringLiteral("Xvid")});
    lblDefaultVideoCodec->setBuddy(cbDefaultVideoCodec);
    auto *codecLayout = new QHBoxLayout;
    codecLayout->addWidget(lblDefaultVideoCodec);
    codecLayout->addWidget(cbDefaultVideoCodec, 1);

    lblSimultaneousConversions = named(new QLabel(this), "lblSimultaneousConversions");
    cbSimultaneousConversions = named(new QComboBox(this), "cbSimultaneousConversions");
    cbSimultaneousConversions->addItems(SimultaneousConversionsItems(TAppStrings()));
    cbSimultaneousConversions->setMaxVisibleItems(SimultaneousConversions::Count);
    lblSimultaneousConversions->setBuddy(cbSimultaneousConversions);
    auto *jobsLayout = new QHBoxLayout;
    jobsLayout->addWidget(lblSimultaneousConversions);
    jobsLayout->addWidget(cbSimultaneousConversions, 1);

    lblTheme = named(new QLabel(this), "lblTheme");
    cbTheme = named(new QComboBox(this), "cbTheme");
    cbTheme->addItems({QString(), QString(), QString()});
    lblTheme->setBuddy(cbTheme);
    auto *themeLayout = new QHBoxLayout;
    themeLayout->addWidget(lblTheme);
    themeLayout->addWidget(cbTheme, 1);

    btnCreateShortcutOnDesktop = named(new QPushButton(this), "btnCreateShortcutOnDesktop");
    btnCreateShortcutOnDesktop->setAutoDefault(false);
    btnOK = named(new QPushButton(this), "btnOK");
    btnOK->setDefault(true);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(btnOK);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(gbLanguage);
    layout->addWidget(pnFileList);
    layout->addLayout(codecLayout);
    layout->addLayout(jobsLayout);
    layout->addLayout(themeLayout);
    layout->addWidget(btnCreateShortcutOnDesktop);
    layout->addLayout(bottom);
    // The size at creation is also the largest: the window does not resize.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFormOptions::connectControls()
{
    auto *actEsc = new QAction(this);
    actEsc->setShortcut(QKeySequence(Qt::Key_Escape));
    auto *actClose = new QAction(this);
    // The key that opens the window in the main window closes it here.
    actClose->setShortcut(QKeySequence(Qt::Key_F12));
    for (QAction *action : {actEsc, actClose}) {
        // Held down, the key must not reopen and close the window in turn.
        action->setAutoRepeat(false);
        addAction(action);
        connect(action, &QAction::triggered, this, &QWidget::close);
    }
    connect(btnOK, &QPushButton::clicked, this, &QWidget::close);

    connect(cbLanguage, &QComboBox::currentIndexChanged, this, [this](int index) {
        changed([&] {
            if (index >= 0)
                m_languages.chooseByNativeName(cbLanguage->itemText(index));
        });
    });
    // Only a font picked from the list counts; typing alone does nothing.
    connect(cbFileListFont, &QComboBox::activated, this, [this] {
        changed([&] { m_target.setListFontName(cbFileListFont->currentFont().family()); });
    });
    connect(edFileListFontSize, &QSpinBox::valueChanged, this,
        [this](int points) { changed([&] { m_target.setListFontSize(points); }); });
    connect(edFileListRowHeight, &QSpinBox::valueChanged, this,
        [this](int pixels) { changed([&] { m_target.setListRowHeight(pixels); }); });
    const auto bindCheck = [this](QCheckBox *box, void (OptionsTarget::*set)(bool)) {
        connect(box, &QCheckBox::toggled, this,
            [this, set](bool on) { changed([&] { (m_target.*set)(on); }); });
    };
    bindCheck(chFileListGridLines, &OptionsTarget::setListGridLines);
    bindCheck(chFileListFooter, &OptionsTarget::setListFooterVisible);
    bindCheck(chFileListRowIndicator, &OptionsTarget::setListRowIndicator);
    bindCheck(chFileListAllowRowMoving, &OptionsTarget::setListRowMovingAllowed);
    bindCheck(chFileListAllowColumnMoving, &OptionsTarget::setListColumnMovingAllowed);
    connect(chFileListIconClickOpen, &QCheckBox::toggled, this, [this](bool on) {
        changed([&] {
            m_params.OpenFileAfterIconClick = on;
            m_target.appParamsChanged(m_params);
        });
    });
    connect(cbFileListFileAnalysis, &QComboBox::currentIndexChanged, this, [this](int entry) {
        changed([&] {
            m_params.FileAnalysis = FileAnalysisOfEntry(entry);
            m_target.appParamsChanged(m_params);
        });
    });
    connect(cbDefaultVideoCodec, &QComboBox::currentIndexChanged, this, [this](int entry) {
        changed([&] { m_target.setDefaultVideoCodec(DefaultCodecOfEntry(entry)); });
    });
    connect(cbSimultaneousConversions, &QComboBox::currentIndexChanged, this, [this](int entry) {
        changed([&] {
            if (entry >= 0)
                m_target.setSimultaneousConversions(entry);
        });
    });
    connect(cbTheme, &QComboBox::currentIndexChanged, this,
        [this](int entry) { changed([&] { m_target.setTheme(ThemeOfEntry(entry)); }); });
    connect(btnCreateShortcutOnDesktop, &QPushButton::clicked, this,
        &TFormOptions::createShortcutOnDesktop);
}

void TFormOptions::InitCbLanguage()
{
    // Without any language file the box keeps its one built-in entry.
    if (!m_languages.hasLanguageFolder() || m_languages.languages().count() == 0)
        return;
    const QScopedValueRollback updating(m_updating, true);
    cbLanguage->clear();
    for (const TLangIniListItem &item : m_languages.languages().items())
        cbLanguage->addItem(item.LangName_Native);
    cbLanguage->setCurrentIndex(
        int(LanguageBoxIndex(m_languages.languages(), m_params.LanguageIni)));
}

void TFormOptions::InitControls()
{
    const QScopedValueRollback updating(m_updating, true);
    const FileListLook look = m_target.fileListLook();
    cbFileListFont->setCurrentFont(QFont(look.ListFontName));
    edFileListFontSize->setValue(look.ListFontSize);
    edFileListRowHeight->setValue(look.RowHeight);
    chFileListAllowRowMoving->setChecked(look.AllowRowMoving);
    chFileListAllowColumnMoving->setChecked(look.AllowColumnMoving);
    chFileListGridLines->setChecked(look.GridLines);
    chFileListFooter->setChecked(look.GridFooter);
    chFileListRowIndicator->setChecked(look.RowIndicator);
    chFileListIconClickOpen->setChecked(m_params.OpenFileAfterIconClick);
    cbDefaultVideoCodec->setCurrentIndex(DefaultCodecEntry(m_target.defaultVideoCodec()));
    cbFileListFileAnalysis->setCurrentIndex(FileAnalysisEntry(m_params.FileAnalysis));
    cbSimultaneousConversions->setCurrentIndex(m_target.simultaneousConversions());
    cbTheme->setCurrentIndex(ThemeEntry(m_target.theme()));
}

void TFormOptions::SetLang(const TAppStrings &strings)
{
    const TOptionsModuleStrings &s = strings.Options;
    setWindowTitle(s.Caption);
    gbLanguage->setTitle(s.gbLanguage);
    cbLanguage->setAccessibleName(WithoutMnemonic(s.gbLanguage));
    pnFileList->setTitle(s.pnFileList);
    lblFileListFontName->setText(s.lblFileListFontName);
    lblFileListFontSize->setText(s.lblFileListFontSize);
    lblFileListRowHeight->setText(s.lblFileListRowHeight);
    chFileListGridLines->setText(s.chFileListGridLines);
    chFileListFooter->setText(s.chFileListFooter);
    chFileListRowIndicator->setText(s.chFileListRowIndicator);
    chFileListAllowRowMoving->setText(s.chFileListAllowRowMoving);
    chFileListAllowColumnMoving->setText(s.chFileListAllowColumnMoving);
    chFileListIconClickOpen->setText(s.chFileListIconClickOpen);
    lblFileListAnalysis->setText(s.lblFileAnalysis);
    lblDefaultVideoCodec->setText(s.lblDefaultVideoCodec);
    btnCreateShortcutOnDesktop->setText(s.btnCreateShortcutOnDesktop);
    btnOK->setText(strings.Main.Close);
    // Replaced in place, so the selected entry stays.
    cbFileListFileAnalysis->setItemText(0, s.FileAnalysis_Full);
    cbFileListFileAnalysis->setItemText(1, s.FileAnalysis_Quick);
    cbFileListFileAnalysis->setItemText(2, s.FileAnalysis_None);
    lblSimultaneousConversions->setText(strings.Main.lblSimultaneousConversions);
    // Only the first entry is a word.
    cbSimultaneousConversions->setItemText(SimultaneousConversions::Auto, strings.Main.Auto);
    lblTheme->setText(s.lblTheme);
    cbTheme->setItemText(ThemeEntry(AppTheme::System), s.Theme_System);
    cbTheme->setItemText(ThemeEntry(AppTheme::Light), s.Theme_Light);
    cbTheme->setItemText(ThemeEntry(AppTheme::Dark), s.Theme_Dark);
}

bool TFormOptions::event(QEvent *event)
{
    if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate)
        InitControls();
    return QDialog::event(event);
}

void TFormOptions::keyPressEvent(QKeyEvent *event)
{
    // Enter in a typed field applies it (the field did); the window stays.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QWidget *focus = focusWidget();
    if (enter && focus
        && (cbFileListFont->isAncestorOf(focus) || focus == cbFileListFont
            || edFileListFontSize->isAncestorOf(focus) || focus == edFileListFontSize
            || edFileListRowHeight->isAncestorOf(focus) || focus == edFileListRowHeight)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFormOptions::createShortcutOnDesktop()
{
    const QString folder = m_desktopFolder.isEmpty()
        ? QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)
        : m_desktopFolder;
    // Made once; a failure is not reported, as nothing depends on it.
    CreateDesktopShortcut(folder, QCoreApplication::applicationFilePath(), AppInfo::ProgramTitle());
}
