#include "ui/settings/ProfileComboBox.h"

#include "i18n/AppStrings.h"
#include "ui/settings/ListColors.h"

#include <QEvent>
#include <QSignalBlocker>
#include <QStylePainter>

ProfileComboBox::ProfileComboBox(QWidget *parent)
    : QComboBox(parent)
{
    setObjectName(QStringLiteral("cbProfileNew"));
    // Draws names with line breaks on several lines, in the entries' colours.
    setItemDelegate(new ListEntryDelegate(this));
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(24);
    setMaxVisibleItems(24);
}

void ProfileComboBox::setProfiles(const QList<TProfileInfo> &profiles, const TAppStrings &strings)
{
    const QSignalBlocker blocker(this);
    m_profiles = profiles;
    clear();
    addItems(ProfileListItems(profiles, strings));
    setCurrentIndex(0);
    applyColors();
}

void ProfileComboBox::SetLang(const TAppStrings &strings)
{
    if (count() <= 1)
        return;
    const QSignalBlocker blocker(this);
    const int entry = currentIndex();
    setItemText(0, strings.Main.cbProfile_TheLastSessionSettings);
    setItemText(1, strings.Main.cbProfile_DefaultSettings);
    setCurrentIndex(entry >= 0 ? entry : 0);
}

void ProfileComboBox::select(int entry)
{
    const QSignalBlocker blocker(this);
    setCurrentIndex(entry);
    update();
}

void ProfileComboBox::applyColors()
{
    const QPalette pal = palette();
    const QBrush plainBackground(PlainEntryBackground(pal));
    const QBrush &plainText = pal.brush(QPalette::Text);
    QFont bold = font();
    bold.setBold(true);
    for (int i = 0; i < count(); ++i) {
        QBrush background = plainBackground, text = plainText;
        if (i >= 2 && i - 2 < m_profiles.size()) {
            const ProfileEntryColors colors = ProfileEntryColorsOf(m_profiles.at(i - 2));
            if (!colors.Plain) {
                background = ColorFromBgr(colors.BgColor);
                text = ColorFromBgr(colors.FontColor);
            }
        }
        setItemData(i, background, Qt::BackgroundRole);
        setItemData(i, text, Qt::ForegroundRole);
        setItemData(i, i == 1 ? QVariant(bold) : QVariant(), Qt::FontRole);
    }
}

void ProfileComboBox::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QModelIndex current = model()->index(currentIndex(), modelColumn(), rootModelIndex());
    const QVariant background = current.data(Qt::BackgroundRole);
    const QVariant text = current.data(Qt::ForegroundRole);
    if (background.canConvert<QBrush>() && text.canConvert<QBrush>()) {
        for (const QPalette::ColorRole role : {QPalette::Button, QPalette::Base, QPalette::Window})
            option.palette.setBrush(role, background.value<QBrush>());
        for (const QPalette::ColorRole role :
            {QPalette::ButtonText, QPalette::Text, QPalette::WindowText})
            option.palette.setBrush(role, text.value<QBrush>());
    }
    // The closed box has room for one line.
    option.currentText.replace(u'\n', u' ').replace(u'\t', u' ');
    const QVariant font = current.data(Qt::FontRole);
    if (font.canConvert<QFont>())
        painter.setFont(font.value<QFont>());
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void ProfileComboBox::changeEvent(QEvent *event)
{
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
        applyColors();
}
