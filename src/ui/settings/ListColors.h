#pragma once

#include "encoding/SettingsLists.h"
#include "ui/common/Theme.h"

#include <QBrush>
#include <QColor>
#include <QStyledItemDelegate>
#include <cstdint>

class QComboBox;
class QPalette;

// Colours of the owner-drawn lists, taken from the palette, so that they
// read in light and dark themes alike.

// The background of the fixed profile entries and of profiles without
// colours: the base a little towards the text; light grey (240, 240, 240)
// on a white base with black text.
QColor PlainEntryBackground(const QPalette &palette);
// The tint of a resolution entry: the base moved towards a hue per kind; no
// brush for a plain entry.
QBrush ResolutionEntryTint(const QPalette &palette, ResolutionEntryKind kind);

// Fonts and tints of cbResolution's items as the list draws them; run again
// when the items or the palette change.
void ApplyResolutionEntryLook(QComboBox *cbResolution);

// The entries of an owner-drawn list: their own fonts and colours (data
// roles), names with line breaks on several lines, and some air around each.
class ListEntryDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
