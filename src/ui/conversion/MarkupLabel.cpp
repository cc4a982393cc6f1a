#include "ui/conversion/MarkupLabel.h"

#include "conversion/StatusMarkup.h"
#include "ui/common/Theme.h"

#include <QEvent>

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
    render();
    setAccessibleName(MarkupToPlainText(markup));
}

void MarkupLabel::render()
{
    // A plain highlight (no text colour of its own) is a shade of this
    // palette, so the label's text stays readable on it.
    setText(MarkupToRichText(m_markup, PlainHighlightColor(palette()).name()));
}

void MarkupLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        render();
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
