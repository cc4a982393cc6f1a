#include "ui/filelist/FileListDelegate.h"

#include "filelist/FileListRow.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace {

QRect centred(const QSize &size, const QRect &cell)
{
    return QRect(QPoint(cell.x() + (cell.width() - size.width()) / 2,
                     cell.y() + (cell.height() - size.height()) / 2),
        size);
}

} // namespace

void FileListDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    // The end of a folder path tells more than its start.
    if (index.column() == colDirectory)
        option->textElideMode = Qt::ElideMiddle;
}

void FileListDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (index.column() != colActive && index.column() != colIcon) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget *widget = opt.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();

    // The background and the selection as for any cell, then the picture.
    QStyleOptionViewItem background = opt;
    background.features
        &= ~(QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration);
    background.text.clear();
    background.icon = QIcon();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    if (index.column() == colActive) {
        QStyleOptionViewItem check = opt;
        const QRect indicator
            = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, widget);
        check.rect = centred(indicator.size(), opt.rect);
        check.state &= ~(QStyle::State_On | QStyle::State_Off | QStyle::State_NoChange);
        check.state |= opt.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter, widget);
        return;
    }
    const QIcon::Mode mode = !(opt.state & QStyle::State_Enabled) ? QIcon::Disabled
        : (opt.state & QStyle::State_Selected)                    ? QIcon::Selected
                                                                  : QIcon::Normal;
    const QSize size = opt.decorationSize.boundedTo(opt.rect.size());
    opt.icon.paint(painter, centred(size, opt.rect), Qt::AlignCenter, mode);
}

bool FileListDelegate::editorEvent(QEvent *event, QAbstractItemModel *model,
    const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (index.column() != colActive)
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton || !option.rect.contains(mouse->position().toPoint()))
            return false;
        const bool checked = index.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
        return model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }
    case QEvent::MouseButtonDblClick:
        // The second click of a double click toggles again on its release.
        return true;
    default:
        return false;
    }
}
