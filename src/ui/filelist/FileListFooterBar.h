#pragma once

#include "filelist/FileListColumns.h"
#include "filelist/FileListFooter.h"

#include <QWidget>

class QTableView;

// The footer line under the list: each text drawn under its column,
// following the columns' widths, order, visibility and the horizontal
// scrolling of the table.
class FileListFooterBar : public QWidget
{
    Q_OBJECT
public:
    // Space left and right of each text.
    static constexpr int TextMargin = 4;

    explicit FileListFooterBar(QTableView *table, QWidget *parent = nullptr);

    void setTexts(const FooterTexts &texts);
    const FooterTexts &texts() const { return m_texts; }
    // The cell of a column in this widget (partly or wholly outside it when
    // scrolled out of sight); empty when the column is hidden.
    QRect cellRect(int column) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    int viewportLeft() const;

    QTableView *m_table;
    FooterTexts m_texts;
};
