#pragma once

#include <QScrollArea>

// Scroll areas that size their contents as the windows need.

// Scrolls up and down only: as wide as its contents need, so that a longer
// text widens the window rather than hiding behind its edge. Its preferred
// height is its contents' whole height; it may be made shorter, and scrolls.
class VerticalScrollArea : public QScrollArea
{
public:
    using QScrollArea::QScrollArea;

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    // The narrowest the contents can be; a layout that rearranges itself
    // when narrow reports its narrowest arrangement here.
    virtual int contentsMinimumWidth() const;
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// Scrolls either way, and only when made smaller than its contents can be;
// its preferred size is its contents'. It sizes its contents itself: to the
// viewport, never below their minimum (a wrapping label's preferred height
// does not count, as it would with setWidgetResizable).
class ContentsScrollArea : public QScrollArea
{
public:
    using QScrollArea::QScrollArea;

    QSize sizeHint() const override;
    // How much wider and taller it would have to be to show its contents
    // at their minimum size without scrolling.
    QSize missingSize() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fitContents();
};
