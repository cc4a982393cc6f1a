#pragma once

#include <QHeaderView>

// The narrow column left of the rows that marks the current row with a
// triangle; the row numbers of a plain vertical header would only crowd it.
class RowIndicatorHeader : public QHeaderView
{
    Q_OBJECT
public:
    // The marked row is always the view's current one, also after rows
    // moved or went away.
    explicit RowIndicatorHeader(QAbstractItemView *view);

    // Paints the two rows again.
    void currentRowChanged(int previous, int current);

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    QAbstractItemView *m_view;
};
