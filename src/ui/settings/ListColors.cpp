#include "ui/settings/ListColors.h"

#include <QComboBox>
#include <QFont>
#include <QPalette>

QColor PlainEntryBackground(const QPalette &palette)
{
    return BlendColors(palette.color(QPalette::Base), palette.color(QPalette::Text), 15.0 / 255.0);
}

QBrush ResolutionEntryTint(const QPalette &palette, ResolutionEntryKind kind)
{
    int hue = -1;
    switch (kind) {
    case ResolutionEntryKind::Custom:
        hue = 280;
        break;
    case ResolutionEntryKind::Percentage:
        hue = 210;
        break;
    case ResolutionEntryKind::Wide:
        hue = 130;
        break;
    case ResolutionEntryKind::Standard:
        hue = 35;
        break;
    case ResolutionEntryKind::Plain:
        return {};
    }
    const QColor base = palette.color(QPalette::Base);
    // A dark base needs more of the hue to show it; the text stays readable
    // on either because the tint never leaves the base's side.
    const bool dark = base.lightness() < 128;
    return BlendColors(base, QColor::fromHsv(hue, 200, 230), dark ? 0.28 : 0.2);
}

void ApplyResolutionEntryLook(QComboBox *cbResolution)
{
    const QPalette palette = cbResolution->palette();
    QFont bold = cbResolution->font();
    bold.setBold(true);
    for (int i = 0; i < cbResolution->count(); ++i) {
        const QBrush tint
            = ResolutionEntryTint(palette, ResolutionEntryKindOf(i, cbResolution->itemText(i)));
        cbResolution->setItemData(
            i, tint.style() == Qt::NoBrush ? QVariant() : QVariant(tint), Qt::BackgroundRole);
        cbResolution->setItemData(
            i, IsBoldResolutionEntry(i) ? QVariant(bold) : QVariant(), Qt::FontRole);
    }
}

QSize ListEntryDelegate::sizeHint(
    const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QSize size = QStyledItemDelegate::sizeHint(option, index);
    return {size.width() + 8, size.height() + 6};
}
