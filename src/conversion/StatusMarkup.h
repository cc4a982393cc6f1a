#pragma once

#include <QString>

// The markup of the progress window's status and output-file labels as
// rich text a Qt label shows safely: only bold ("<b>", "</b>") and font tags
// whose attributes are bgcolor and color, each "#" and six hexadecimal
// digits in double quotes (tag and attribute names in either letter case),
// become formatting; the entities the core writes for text it takes from
// file names and FFmpeg (&lt; &gt; &amp; &quot; &#39;) become their
// characters; everything else is shown as the text it is. Runs of blanks
// are kept; a long line may wrap at the last blank of a run between two
// other characters (a single blank is a run of one). The result holds no
// other tag, so no image, link or style of a file name can reach the label.
// A font tag with a background but no text colour of its own (the grey
// behind a skipped file's folder) sets the label's text on a fixed colour;
// given plainBackground ("#rrggbb"), that background is drawn in it
// instead, so the label's own text colour reads on it in any palette.
QString MarkupToRichText(const QString &markup, const QString &plainBackground = {});

// The markup with every blank of its text a no-break space (U+00A0) and a
// word joiner (U+2060) after every slash, its tags as they are: a field of
// the status line that never wraps inside.
QString NoBreakMarkup(const QString &markup);

// The progress window's output-file label: the folder on a dark band, the
// name in bold; for a skipped file the folder on grey. Names are escaped,
// never taken for tags.
QString OutputFileMarkup(const QString &path);
QString SkippedFileMarkup(const QString &path);

// The text of the markup as a reader sees it, without formatting (for
// accessibility and tests).
QString MarkupToPlainText(const QString &markup);
