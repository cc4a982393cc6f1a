#pragma once

#include <QStringList>
#include <QTableView>

class RowIndicatorHeader;

// The table of the file list: whole-row selection, rows dragged to another
// place, files and folders dropped from outside, and the list's keys.
class FileListView : public QTableView
{
    Q_OBJECT
public:
    explicit FileListView(QWidget *parent = nullptr);

    void setRowMovingAllowed(bool on);
    // The column that marks the current row.
    void setRowIndicatorVisible(bool on);

    // The local paths of a drop's text/uri-list, each name's bytes kept as
    // they are (see DecodeLocalName).
    static QStringList droppedPaths(const QMimeData *data);

Q_SIGNALS:
    void pathsDropped(const QStringList &paths);
    void deletePressed();
    void togglePressed();
    void undoPressed();
    // The palette or the style changed: colours derived from them are due.
    void appearanceChanged();

public:
    // The grid colour of selected cells: the selection colour (the inactive
    // one when the list has no focus), each of red, green and blue less 10 %
    // of itself; plain when the focused list has exactly one row selected.
    QColor selectedGridColor() const;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void requestKeyboardContextMenu();
    void paintFocusFrame();
    bool isRowDrag(const QDropEvent *event) const;

    bool m_rowMovingAllowed = true;
    RowIndicatorHeader *m_rowIndicator;
};
