#include "ui/main/OutputOptionsPanel.h"

#include "encoding/EncodingSettings.h"
#include "encoding/SettingsLists.h"
#include "i18n/AppStrings.h"
#include "ui/settings/SettingsOwner.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr int HintMilliseconds = 6000;

template <typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    widget->setToolTipDuration(HintMilliseconds);
    return widget;
}

// A push button that shows and runs a command, as a toolbar button does.
QPushButton *commandButton(QAction *action, const char *name, QWidget *parent)
{
    auto *button = named(new QPushButton(parent), name);
    const auto sync = [button, action] {
        button->setText(action->text());
        button->setToolTip(action->toolTip());
        button->setEnabled(action->isEnabled());
    };
    sync();
    QObject::connect(action, &QAction::changed, button, sync);
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    return button;
}

// Entries replaced by index, the selection kept.
void setItems(QComboBox *box, const QStringList &items)
{
    const QSignalBlocker block(box);
    const int index = box->currentIndex();
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(index);
}

} // namespace

OutputOptionsPanel::OutputOptionsPanel(
    QAction *browse, QAction *explore, SettingsOwner *owner, QWidget *parent)
    : QWidget(parent)
    , m_owner(owner)
{
    setObjectName(QStringLiteral("pnMid"));
    m_gbOutputDir = named(new QGroupBox(this), "gbOutputDir");
    m_rbOutDirIsInDir = named(new QRadioButton(m_gbOutputDir), "rbOutDirIsInDir");
    m_rbOutDir = named(new QRadioButton(m_gbOutputDir), "rbOutDir");
    m_chOutDirKeepTree = named(new QCheckBox(this), "chOutDirKeepTree");
    m_edOutDir = named(new QLineEdit(m_gbOutputDir), "edOutDir");
    m_edOutDir->setClearButtonEnabled(true);
    m_btnBrowseOutDir = commandButton(browse, "btnBrowseOutDir", m_gbOutputDir);
    m_btnExplore = commandButton(explore, "btnExplore", m_gbOutputDir);
    auto *choice = new QButtonGroup(this);
    choice->addButton(m_rbOutDirIsInDir);
    choice->addButton(m_rbOutDir);
    m_rbOutDirIsInDir->setChecked(true);

    auto *dirLayout = new QGridLayout(m_gbOutputDir);
    dirLayout->addWidget(m_rbOutDirIsInDir, 0, 0, 1, 4);
    dirLayout->addWidget(m_rbOutDir, 1, 0);
    dirLayout->addWidget(m_edOutDir, 1, 1);
    dirLayout->addWidget(m_btnBrowseOutDir, 1, 2);
    dirLayout->addWidget(m_btnExplore, 1, 3);
    dirLayout->setColumnStretch(1, 1);

    m_lblIfOutputExists = named(new QLabel(this), "lblIfOutputExists");
    m_cbOutputExists = named(new QComboBox(this), "cbOutputExists");
    m_lblIfOutputExists->setBuddy(m_cbOutputExists);
    m_lblAfterConversion = named(new QLabel(this), "lblAfterConversion");
    m_cbAfterConversion = named(new QComboBox(this), "cbAfterConversion");
    m_lblAfterConversion->setBuddy(m_cbAfterConversion);
    m_lblSimultaneousConversions = named(new QLabel(this), "lblSimultaneousConversions");
    m_cbSimultaneousConversions = named(new QComboBox(this), "cbSimultaneousConversions");
    m_lblSimultaneousConversions->setBuddy(m_cbSimultaneousConversions);
    m_chKeepDates = named(new QCheckBox(this), "chKeepDates");
    for (QComboBox *box : {m_cbOutputExists, m_cbAfterConversion}) {
        box->addItems({QString(), QString(), QString()});
        box->setCurrentIndex(0);
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    }
    m_cbSimultaneousConversions->addItems(SimultaneousConversionsItems(TAppStrings()));
    m_cbSimultaneousConversions->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_cbSimultaneousConversions->setMaxVisibleItems(SimultaneousConversions::Count);

    auto *form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    // How outputs are placed and named share a row, as the count and the
    // dates share theirs, so the panel keeps its height.
    auto *existsRow = new QHBoxLayout;
    existsRow->addWidget(m_cbOutputExists);
    existsRow->addSpacing(12);
    existsRow->addWidget(m_chOutDirKeepTree);
    existsRow->addStretch(1);
    form->addRow(m_lblIfOutputExists, existsRow);
    form->addRow(m_lblAfterConversion, m_cbAfterConversion);
    // The count is short: the check box shares its row, so the panel keeps
    // its height.
    auto *jobsRow = new QHBoxLayout;
    jobsRow->addWidget(m_cbSimultaneousConversions);
    jobsRow->addSpacing(12);
    jobsRow->addWidget(m_chKeepDates);
    jobsRow->addStretch(1);
    form->addRow(m_lblSimultaneousConversions, jobsRow);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_gbOutputDir, 1);
    layout->addLayout(form);

    // Keyboard order follows the reading order.
    setTabOrder(m_rbOutDirIsInDir, m_rbOutDir);
    setTabOrder(m_rbOutDir, m_edOutDir);
    setTabOrder(m_edOutDir, m_btnBrowseOutDir);
    setTabOrder(m_btnBrowseOutDir, m_btnExplore);
    setTabOrder(m_btnExplore, m_cbOutputExists);
    setTabOrder(m_cbOutputExists, m_chOutDirKeepTree);
    setTabOrder(m_chOutDirKeepTree, m_cbAfterConversion);
    setTabOrder(m_cbAfterConversion, m_cbSimultaneousConversions);
    setTabOrder(m_cbSimultaneousConversions, m_chKeepDates);

    const auto changedByUser
        = [this] { m_owner->update([this](EncodingSettings &s) { storeValues(s); }, this); };
    connect(m_rbOutDir, &QRadioButton::toggled, this, changedByUser);
    connect(m_chOutDirKeepTree, &QCheckBox::toggled, this, changedByUser);
    connect(m_edOutDir, &QLineEdit::textEdited, this, changedByUser);
    connect(m_cbOutputExists, &QComboBox::activated, this, changedByUser);
    connect(m_cbAfterConversion, &QComboBox::activated, this, changedByUser);
    connect(m_cbSimultaneousConversions, &QComboBox::activated, this, changedByUser);
    connect(m_chKeepDates, &QCheckBox::toggled, this, changedByUser);
    showValues(m_owner->settings());
    connect(m_owner, &SettingsOwner::changed, this, [this](const QObject *by) {
        if (by != this)
            showValues(m_owner->settings());
    });
}

void OutputOptionsPanel::SetLang(const TAppStrings &strings)
{
    const TMainModuleStrings &m = strings.Main;
    m_gbOutputDir->setTitle(m.OutputDir);
    m_rbOutDirIsInDir->setText(m.rbOutDirIsInDir);
    m_chOutDirKeepTree->setText(m.chOutDirKeepTree);
    m_chOutDirKeepTree->setToolTip(m.OutDirKeepTreeHint);
    // The radio button beside the folder field has no caption of its own.
    m_rbOutDir->setAccessibleName(m.OutputDir);
    m_edOutDir->setAccessibleName(m.OutputDir);
    m_lblIfOutputExists->setText(m.lblIfOutputExists);
    m_lblAfterConversion->setText(m.lblAfterConversion);
    m_chKeepDates->setText(m.chKeepDates);
    m_chKeepDates->setToolTip(m.KeepDates);
    setItems(m_cbOutputExists,
        {m.cbOutputExists_Rename, m.cbOutputExists_Overwrite, m.cbOutputExists_Skip});
    setItems(m_cbAfterConversion,
        {m.cbAfterConversion_DoNothing, m.cbAfterConversion_CloseApplication,
            m.cbAfterConversion_CloseWindows});
    m_lblSimultaneousConversions->setText(m.lblSimultaneousConversions);
    setItems(m_cbSimultaneousConversions, SimultaneousConversionsItems(strings));
}

void OutputOptionsPanel::showValues(const EncodingSettings &s)
{
    const QSignalBlocker blocks[] = {QSignalBlocker(m_rbOutDir), QSignalBlocker(m_chOutDirKeepTree),
        QSignalBlocker(m_chKeepDates)};
    (s.rbOutDir ? m_rbOutDir : m_rbOutDirIsInDir)->setChecked(true);
    m_chOutDirKeepTree->setChecked(s.chOutDirKeepTree);
    m_edOutDir->setText(s.edOutDir);
    m_cbOutputExists->setCurrentIndex(s.cbOutputExists);
    m_cbAfterConversion->setCurrentIndex(s.cbAfterConversion);
    m_cbSimultaneousConversions->setCurrentIndex(s.cbSimultaneousConversions);
    m_chKeepDates->setChecked(s.chKeepDates);
}

void OutputOptionsPanel::storeValues(EncodingSettings &s) const
{
    s.rbOutDir = m_rbOutDir->isChecked();
    s.chOutDirKeepTree = m_chOutDirKeepTree->isChecked();
    s.edOutDir = m_edOutDir->text();
    s.cbOutputExists = m_cbOutputExists->currentIndex();
    s.cbAfterConversion = m_cbAfterConversion->currentIndex();
    s.cbSimultaneousConversions = m_cbSimultaneousConversions->currentIndex();
    s.chKeepDates = m_chKeepDates->isChecked();
}

void OutputOptionsPanel::setOutDirEnabled(bool on)
{
    m_edOutDir->setEnabled(on);
    m_chOutDirKeepTree->setEnabled(on);
}
