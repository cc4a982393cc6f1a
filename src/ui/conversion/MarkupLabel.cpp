#include "ui/conversion/MarkupLabel.h"

#include "conversion/StatusMarkup.h"

MarkupLabel::MarkupLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::RichText);
    setOpenExternalLinks(false);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setWordWrap(true);
    // The status line is long; it wraps instead of widening the window.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setMinimumWidth(1);
}

void MarkupLabel::setMarkup(const QString &markup)
{
    m_markup = markup;
    setText(MarkupToRichText(markup));
    setAccessibleName(MarkupToPlainText(markup));
}

void MarkupLabel::setPlain(const QString &text)
{
    setMarkup(text.toHtmlEscaped());
}

QString MarkupLabel::shownText() const
{
    return MarkupToPlainText(m_markup);
}

void MarkupLabel::setTextColor(const QColor &color)
{
    if (!color.isValid()) {
        // A palette without set roles: the window's own again.
        setPalette(QPalette());
        return;
    }
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}
