#include "ui/conversion/ErrorLogHighlighter.h"

#include "conversion/ErrorLog.h"
#include "ui/common/Theme.h"

#include <QPalette>

ErrorLogHighlighter::ErrorLogHighlighter(QTextDocument *document, const QPalette &palette)
    : QSyntaxHighlighter(document)
{
    setPalette(palette);
}

void ErrorLogHighlighter::setPalette(const QPalette &palette)
{
    const bool dark = IsDarkPalette(palette);
    const auto format
        = [](const QColor &fg, const QColor &bg = {}, bool bold = false, bool italic = false) {
              QTextCharFormat f;
              f.setForeground(fg);
              if (bg.isValid())
                  f.setBackground(bg);
              if (bold)
                  f.setFontWeight(QFont::Bold);
              f.setFontItalic(italic);
              return f;
          };
    m_formats[size_t(ErrorLogHighlight::Comment)]
        = format(DimmedTextColor(palette), {}, false, true);
    m_formats[size_t(ErrorLogHighlight::Quoted)]
        = format(dark ? QColor(0xd7, 0x8c, 0xf0) : QColor(0x80, 0x00, 0x80));
    m_formats[size_t(ErrorLogHighlight::ErrorWord)]
        = format(dark ? QColor(0xff, 0x6b, 0x5e) : QColor(0xd0, 0x00, 0x00), {}, true);
    m_formats[size_t(ErrorLogHighlight::Video)] = format(Qt::white, QColor(0x24, 0x62, 0xc8), true);
    m_formats[size_t(ErrorLogHighlight::Audio)] = format(Qt::white, QColor(0x49, 0x69, 0x54), true);
    m_formats[size_t(ErrorLogHighlight::Stream)]
        = format(dark ? QColor(0x7c, 0xb4, 0xff) : QColor(0x00, 0x00, 0xc0), {}, true);
    m_formats[size_t(ErrorLogHighlight::Option)]
        = format(dark ? QColor(0xf0, 0xa8, 0x50) : QColor(0xa0, 0x50, 0x00), {}, true);
    rehighlight();
}

void ErrorLogHighlighter::highlightBlock(const QString &text)
{
    for (const ErrorLogSpan &span : ErrorLogHighlights(text))
        setFormat(int(span.start), int(span.length), m_formats[size_t(span.kind)]);
}
