#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <array>

// Highlights the error log as the core finds its parts (ErrorLogHighlights),
// in colours that read on the view's own background, light or dark.
class ErrorLogHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT
public:
    explicit ErrorLogHighlighter(QTextDocument *document, const QPalette &palette);
    // The colours again for a changed palette.
    void setPalette(const QPalette &palette);

protected:
    void highlightBlock(const QString &text) override;

private:
    std::array<QTextCharFormat, 7> m_formats;
};
