#include "ui/conversion/RunningFilesView.h"

#include "conversion/TimeLeft.h"
#include "i18n/AppStrings.h"
#include "ui/conversion/RunningFilesFeed.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>

namespace {

// The progress column as a bar, as the window's own bar looks.
class ProgressDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override
    {
        const QWidget *widget = option.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        // The cell's own background first, so a chosen row is marked across.
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        cell.text.clear();
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);

        QStyleOptionProgressBar bar;
        bar.rect = option.rect.adjusted(2, 2, -2, -2);
        bar.state = option.state | QStyle::State_Horizontal;
        bar.direction = option.direction;
        bar.fontMetrics = option.fontMetrics;
        bar.palette = option.palette;
        bar.minimum = 0;
        bar.maximum = 100;
        bar.progress = index.data(RunningFilesModel::PercentRole).toInt();
        bar.text = index.data(Qt::DisplayRole).toString();
        bar.textVisible = true;
        bar.textAlignment = Qt::AlignCenter;
        style->drawControl(QStyle::CE_ProgressBar, &bar, painter, widget);
    }

    // Rows tall enough for a bar that reads as one.
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QSize size = QStyledItemDelegate::sizeHint(option, index);
        return {size.width(), std::max(size.height(), option.fontMetrics.height() + 8)};
    }
};

QString percentText(int percentage)
{
    return QString::number(percentage) + u'%';
}

} // namespace

void RunningFilesModel::setHeaders(const TAppStrings &strings)
{
    const TProgressModuleStrings &p = strings.Progress;
    m_headers = {p.RunningFile, p.RunningProgress, p.RunningSpeed, p.RunningTimeLeft};
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

void RunningFilesModel::clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void RunningFilesModel::addRow(const Row &row)
{
    const int at = count();
    beginInsertRows({}, at, at);
    m_rows.push_back(row);
    endInsertRows();
}

void RunningFilesModel::removeFile(int fileNo)
{
    const int at = rowOf(fileNo);
    if (at < 0)
        return;
    beginRemoveRows({}, at, at);
    m_rows.erase(m_rows.begin() + at);
    endRemoveRows();
}

void RunningFilesModel::update(const RunningFileState &state)
{
    const int at = rowOf(state.fileNo);
    if (at < 0)
        return;
    Row &r = m_rows[size_t(at)];
    // The status line is no cell: it changes nothing the list shows.
    r.statusMarkup = state.statusMarkup;
    const bool shown = r.percentage != state.percentage || r.speed != state.speed
        || FormatTimeSpan(r.timeLeftMs) != FormatTimeSpan(state.timeLeftMs);
    r.percentage = state.percentage;
    r.speed = state.speed;
    r.timeLeftMs = state.timeLeftMs;
    if (shown)
        Q_EMIT dataChanged(index(at, ColProgress), index(at, ColTimeLeft));
}

int RunningFilesModel::rowOf(int fileNo) const
{
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].fileNo == fileNo)
            return int(i);
    return -1;
}

int RunningFilesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int RunningFilesModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RunningFilesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    const Row &r = m_rows[size_t(index.row())];
    if (role == PercentRole)
        return r.percentage;
    if (role == Qt::ToolTipRole && index.column() == ColFile)
        return r.inputFile.toHtmlEscaped();
    if (role == Qt::TextAlignmentRole && index.column() != ColFile)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    switch (index.column()) {
    case ColFile:
        return QFileInfo(r.inputFile).fileName();
    case ColProgress:
        return percentText(r.percentage);
    case ColSpeed:
        return r.speed;
    case ColTimeLeft:
        return r.timeLeftMs < 0 ? QString() : FormatTimeSpan(r.timeLeftMs);
    default:
        return {};
    }
}

QVariant RunningFilesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return m_headers.value(section);
}

RunningFilesView::RunningFilesView(QWidget *parent)
    : QTreeView(parent)
{
    setObjectName(QStringLiteral("tvRunningFiles"));
    setModel(&m_model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::StrongFocus);
    setItemDelegateForColumn(RunningFilesModel::ColProgress, new ProgressDelegate(this));
    QHeaderView *head = header();
    head->setStretchLastSection(false);
    head->setSectionsMovable(false);
    head->setSectionResizeMode(RunningFilesModel::ColFile, QHeaderView::Stretch);
    // Room for the header and two files, whatever the window's height.
    const int rowHeight = fontMetrics().height() + 8;
    setMinimumHeight(head->sizeHint().height() + 2 * rowHeight + 2 * frameWidth());

    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex &current) {
            if (!m_choosing && current.isValid())
                Q_EMIT chosenByUser(m_model.row(current.row()).fileNo);
        });
}

void RunningFilesView::SetLang(const TAppStrings &strings)
{
    m_model.setHeaders(strings);
    // The caption without its colon, as a screen reader names the list.
    QString name = strings.Progress.RunningFiles.trimmed();
    if (name.endsWith(u':'))
        name.chop(1);
    setAccessibleName(name.trimmed());
    // The figures' columns as wide as their caption or their widest value,
    // fixed: measuring the cells at every update would cost a pass over all.
    const QFontMetrics metrics(header()->font());
    const int padding = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header())
        + style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header()) + 8;
    const auto fit = [&](int column, const QString &widest, int least) {
        const int text
            = std::max(metrics.horizontalAdvance(
                           m_model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString()),
                metrics.horizontalAdvance(widest));
        header()->resizeSection(column, std::max(text + padding, least));
    };
    fit(RunningFilesModel::ColProgress, QStringLiteral("100%"), 120);
    fit(RunningFilesModel::ColSpeed, QStringLiteral("1000.00x"), 0);
    fit(RunningFilesModel::ColTimeLeft, QStringLiteral("00:00:00"), 0);
}

void RunningFilesView::addFile(const RunningFilesModel::Row &row)
{
    const QScopedValueRollback choosing(m_choosing, true);
    m_model.addRow(row);
}

void RunningFilesView::removeFile(int fileNo)
{
    // The selection moves to a neighbour: not the user's choice.
    const QScopedValueRollback choosing(m_choosing, true);
    m_model.removeFile(fileNo);
}

void RunningFilesView::showChosen(int fileNo)
{
    const QScopedValueRollback choosing(m_choosing, true);
    const int at = m_model.rowOf(fileNo);
    if (at < 0) {
        clearSelection();
        return;
    }
    setCurrentIndex(m_model.index(at, 0));
}
