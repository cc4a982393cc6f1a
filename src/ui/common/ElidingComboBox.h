#pragma once

#include <QComboBox>

// A list box narrower than its longest entry: the shown entry is elided in
// the middle ("MP3 - MPE…Layer 3"), never cut, and its tooltip shows it
// whole.
class ElidingComboBox : public QComboBox
{
public:
    explicit ElidingComboBox(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    QString shownText() const;
};
