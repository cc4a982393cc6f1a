#pragma once

#include "filelist/FileListColumns.h"
#include "filelist/FileListFooter.h"

#include <QColor>
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
    // Draws column's text in the error colour, with hint as its tool tip.
    void setWarning(int column, bool on, const QString &hint);
    void setWarningColour(const QColor &colour);
    bool warned() const { return m_warningColumn >= 0; }
    const FooterTexts &texts() const { return m_texts; }
    // The cell of a column in this widget (partly or wholly outside it when
    // scrolled out of sight); empty when the column is hidden.
    QRect cellRect(int column) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    // The warning's hint over its cell.
    bool event(QEvent *event) override;

private:
    int viewportLeft() const;

    QTableView *m_table;
    FooterTexts m_texts;
    int m_warningColumn = -1;
    QString m_warningHint;
    QColor m_warningColour;
};
