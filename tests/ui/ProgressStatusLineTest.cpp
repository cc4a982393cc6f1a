// The status line of the progress window as its label lays it out.
#include "conversion/EncoderOutput.h"
#include "conversion/StatusMarkup.h"
#include "i18n/AppStrings.h"

#include <QApplication>
#include <QFont>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace {

// The lines a rich-text label of that width shows.
QStringList wrappedLines(const QString &richText, const QFont &font, int width)
{
    QTextDocument document;
    document.setDefaultFont(font);
    QTextOption option = document.defaultTextOption();
    option.setWrapMode(QTextOption::WordWrap); // as QLabel's word wrap
    document.setDefaultTextOption(option);
    document.setHtml(richText);
    document.setTextWidth(width);
    document.size(); // lays the text out
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout *layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            lines << block.text().mid(line.textStart(), line.textLength());
        }
    }
    return lines;
}

TEST(StatusLine, WrapsBetweenFieldsNeverInsideOne)
{
    TAppStrings strings;
    EncoderOutputHandler handler(strings);
    EncoderProgressInputs in;
    in.IsConverting = true;
    in.FileNo = 1;
    in.FileCount = 3;
    in.TotalFrames = 500;
    const QString markup = handler
                               .onFlush(QStringLiteral("frame=  162 fps= 50 q=2.0 size=     256kB "
                                                       "time=00:00:06.48 bitrate= 323.6kbits/s "
                                                       "speed=2.00x"),
                                   true, in)
                               .StatusMarkup;
    // The fields as the separators divide them: "Frame: 162 / ~500",
    // "256.00 KB"...
    QStringList fields;
    for (const QString &field : MarkupToPlainText(markup).split(QStringLiteral("::")))
        fields << field.trimmed();
    ASSERT_TRUE(fields.contains(NoBreakMarkup(QStringLiteral("Frame: 162 / ~500"))));
    const QFont font = QApplication::font();
    bool wrapped = false;
    for (int width = 40; width <= 900; width += 7) {
        SCOPED_TRACE(width);
        const QStringList lines = wrappedLines(MarkupToRichText(markup), font, width);
        wrapped = wrapped || lines.size() > 1;
        for (const QString &line : lines) {
            for (const QString &piece : line.split(QStringLiteral("::")))
                EXPECT_TRUE(piece.trimmed().isEmpty() || fields.contains(piece.trimmed()))
                    << line.toStdString();
        }
    }
    EXPECT_TRUE(wrapped); // between the fields
}

} // namespace
