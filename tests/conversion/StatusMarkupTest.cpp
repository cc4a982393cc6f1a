#include "conversion/StatusMarkup.h"

#include <gtest/gtest.h>

TEST(StatusMarkup, OnlyTheDescribedTagsFormatEverythingElseIsText)
{
    struct Case
    {
        const char *markup;
        const char *richText;
    };
    const Case cases[] = {
        {"<b>Done</b>", "<b>Done</b>"},
        {"<B>x</B>", "<b>x</b>"},
        {"<b><font bgcolor=\"#696969\" color=\"#FFFFFF\"> /a/ </font> b.avi</b>",
            "<b><span style=\"background-color:#696969;color:#ffffff;\">&nbsp;/a/&nbsp;</span>"
            " b.avi</b>"},
        // A long line wraps at the last blank of a run between two other
        // characters; the other blanks, and those at the edges, keep their
        // width. A no-break space never wraps.
        {"a b  c ", "a b&nbsp; c&nbsp;"},
        {" a   b\u00A0 c", "&nbsp;a&nbsp;&nbsp; b\u00A0 c"},
        {"<FONT color=\"#E0EBE0\" BGCOLOR=\"#496954\">2x</FONT>",
            "<span style=\"background-color:#496954;color:#e0ebe0;\">2x</span>"},
        // A file name as the core escapes it shows literally.
        {"&lt;b&gt;x&lt;/b&gt;.mkv", "&lt;b&gt;x&lt;/b&gt;.mkv"},
        // Tags outside the described set, and described tags written
        // otherwise, are text.
        {"<img src=\"x\">", "&lt;img src=&quot;x&quot;&gt;"},
        {"<a href=\"http://x\">y</a>", "&lt;a href=&quot;http://x&quot;&gt;y&lt;/a&gt;"},
        {"<font color=\"red\">r</font>", "&lt;font color=&quot;red&quot;&gt;r"},
        {"<font style=\"x\">s", "&lt;font style=&quot;x&quot;&gt;s"},
        {"<b class=\"x\">c", "&lt;b class=&quot;x&quot;&gt;c"},
        {"<font color=\"#000000\" color=\"#ffffff\">",
            "&lt;font color=&quot;#000000&quot;"
            " color=&quot;#ffffff&quot;&gt;"},
        // Unknown entities and lone ampersands are text too.
        {"a &nbsp; &copy b&c", "a &amp;nbsp; &amp;copy b&amp;c"},
        // Nesting is mended: what is open is closed, stray closings dropped.
        {"<b><font color=\"#123456\">x</b>y</font></b>z<b>w",
            "<b><span style=\"color:#123456;\">x</span></b>yz<b>w</b>"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.markup);
        EXPECT_EQ(MarkupToRichText(QString::fromUtf8(c.markup)).toStdString(), c.richText);
    }
    EXPECT_EQ(
        MarkupToPlainText(QStringLiteral("<b>&lt;b&gt;x</b> <i>")), QStringLiteral("<b>x <i>"));
}

TEST(StatusMarkup, APlainHighlightTakesTheGivenBackground)
{
    const QString skipped = QStringLiteral("<font bgcolor=\"#C0C0C0\">/v/</font><b>a.avi</b>");
    EXPECT_EQ(MarkupToRichText(skipped, QStringLiteral("#626262")).toStdString(),
        "<span style=\"background-color:#626262;\">/v/</span><b>a.avi</b>");
    EXPECT_EQ(MarkupToRichText(skipped).toStdString(),
        "<span style=\"background-color:#c0c0c0;\">/v/</span><b>a.avi</b>");
    // A highlight with its own text colour keeps both: they were chosen as a pair.
    const QString output = QStringLiteral("<font bgcolor=\"#696969\" color=\"#FFFFFF\">/v/</font>");
    EXPECT_EQ(MarkupToRichText(output, QStringLiteral("#626262")).toStdString(),
        "<span style=\"background-color:#696969;color:#ffffff;\">/v/</span>");
}

TEST(StatusMarkup, NoBreakMarkupKeepsTagsAndJoinsTheText)
{
    const QString nbsp(QChar::Nbsp);
    const QString joiner(QChar(0x2060));
    EXPECT_EQ(NoBreakMarkup(QStringLiteral("Frame: 162 / ~500 frames/sec")),
        QStringLiteral("Frame:") + nbsp + "162" + nbsp + "/" + joiner + nbsp + "~500" + nbsp
            + "frames/" + joiner + "sec");
    // The blanks between a tag's attributes stay; entities and text that
    // only looks like a tag are text.
    EXPECT_EQ(NoBreakMarkup(QStringLiteral("<b><FONT bgcolor=\"#496954\" color=\"#E0EBE0\"> "
                                           "2x </FONT></b> &lt;i x&gt;")),
        QStringLiteral("<b><FONT bgcolor=\"#496954\" color=\"#E0EBE0\">") + nbsp + "2x" + nbsp
            + "</FONT></b>" + nbsp + "&lt;i" + nbsp + "x&gt;");
    EXPECT_EQ(NoBreakMarkup(QStringLiteral("<img src=\"x\">")),
        QStringLiteral("<img") + nbsp + "src=\"x\">");
}
