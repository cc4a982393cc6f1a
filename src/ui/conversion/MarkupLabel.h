#pragma once

#include <QLabel>

// A label for the markup of the progress window (lblOutputFile, lblStatus):
// bold and coloured font tags are drawn, everything else is shown as text
// (MarkupToRichText), so nothing in a file name can act as markup.
class MarkupLabel : public QLabel
{
    Q_OBJECT
public:
    explicit MarkupLabel(QWidget *parent = nullptr);

    void setMarkup(const QString &markup);
    // A plain caption (Main.PleaseWait, Main.Skipped).
    void setPlain(const QString &text);
    const QString &markup() const { return m_markup; }
    // The text as the user reads it.
    QString shownText() const;

    // The text colour; an invalid colour returns to the palette's.
    void setTextColor(const QColor &color);

protected:
    void changeEvent(QEvent *event) override;

private:
    void render();

    QString m_markup;
};
