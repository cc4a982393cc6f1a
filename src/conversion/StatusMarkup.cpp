#include "conversion/StatusMarkup.h"

#include <QRegularExpression>
#include <QStringList>
#include <array>
#include <optional>
#include <utility>

namespace {

enum class TagKind { Bold, Font };

struct Tag
{
    TagKind kind = TagKind::Bold;
    bool closing = false;
    QString bgcolor;
    QString color;
    qsizetype length = 0;
};

// A described tag starting at `at`, or nothing.
std::optional<Tag> tagAt(const QString &markup, qsizetype at)
{
    static const QRegularExpression tag(
        QStringLiteral("<(/?)(b|font)((?:\\s+[a-z]+\\s*=\\s*\"[^\"<>]*\")*)\\s*>"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression attribute(
        QStringLiteral("([a-z]+)\\s*=\\s*\"([^\"]*)\""), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression colour(
        QStringLiteral("^#[0-9a-f]{6}$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = tag.match(
        markup, at, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
    if (!m.hasMatch())
        return std::nullopt;
    Tag result;
    result.closing = !m.captured(1).isEmpty();
    result.kind = m.captured(2).compare(QLatin1String("b"), Qt::CaseInsensitive) == 0
        ? TagKind::Bold
        : TagKind::Font;
    result.length = m.capturedLength();
    const QString attributes = m.captured(3);
    if (!attributes.trimmed().isEmpty() && (result.closing || result.kind == TagKind::Bold))
        return std::nullopt;
    for (auto it = attribute.globalMatch(attributes); it.hasNext();) {
        const QRegularExpressionMatch a = it.next();
        const QString name = a.captured(1).toLower();
        const QString value = a.captured(2);
        if (!colour.match(value).hasMatch())
            return std::nullopt;
        QString *slot = name == QLatin1String("bgcolor") ? &result.bgcolor
            : name == QLatin1String("color")             ? &result.color
                                                         : nullptr;
        // Another attribute, or the same one twice: not a described tag.
        if (!slot || !slot->isEmpty())
            return std::nullopt;
        *slot = value.toLower();
    }
    return result;
}

// An entity of those the core writes, starting at `at`: its character and
// length.
std::optional<std::pair<QChar, qsizetype>> entityAt(const QString &markup, qsizetype at)
{
    static const std::array<std::pair<const char *, char16_t>, 5> entities = {{
        {"&lt;", u'<'},
        {"&gt;", u'>'},
        {"&amp;", u'&'},
        {"&quot;", u'"'},
        {"&#39;", u'\''},
    }};
    for (const auto &[name, character] : entities) {
        const QLatin1String text(name);
        if (QStringView(markup).mid(at).startsWith(text))
            return std::make_pair(QChar(character), text.size());
    }
    return std::nullopt;
}

// Walks the markup: text characters to onText, tags to onTag.
template <typename OnText, typename OnTag>
void walk(const QString &markup, OnText onText, OnTag onTag)
{
    qsizetype i = 0;
    while (i < markup.size()) {
        const QChar c = markup.at(i);
        if (c == u'<') {
            if (const std::optional<Tag> tag = tagAt(markup, i)) {
                onTag(*tag);
                i += tag->length;
                continue;
            }
        } else if (c == u'&') {
            if (const auto entity = entityAt(markup, i)) {
                onText(entity->first);
                i += entity->second;
                continue;
            }
        }
        onText(c);
        ++i;
    }
}

QString escapedChar(QChar c)
{
    switch (c.unicode()) {
    case u'<':
        return QStringLiteral("&lt;");
    case u'>':
        return QStringLiteral("&gt;");
    case u'&':
        return QStringLiteral("&amp;");
    case u'"':
        return QStringLiteral("&quot;");
    default:
        return QString(c);
    }
}

} // namespace

QString MarkupToRichText(const QString &markup, const QString &plainBackground)
{
    // Rich text folds blanks, and the markup aligns with them: every blank
    // is kept, except that the last one of a run between two other
    // characters stays a place where a long line may wrap.
    const QString text = MarkupToPlainText(markup);
    const auto breakable = [&text](qsizetype at) {
        if (at + 1 >= text.size() || text.at(at + 1) == u' ')
            return false;
        qsizetype first = at;
        while (first > 0 && text.at(first - 1) == u' ')
            --first;
        return first > 0;
    };
    qsizetype textAt = 0;
    QString html;
    // What is open, innermost last, and how each closes.
    QList<std::pair<TagKind, QString>> open;
    const auto closeUpTo = [&](TagKind kind) {
        qsizetype at = open.size() - 1;
        while (at >= 0 && open.at(at).first != kind)
            --at;
        if (at < 0)
            return; // nothing of that kind is open: a stray closing tag
        while (open.size() > at) {
            html += open.last().second;
            open.removeLast();
        }
    };
    walk(
        markup,
        [&](QChar c) {
            if (c == u' ')
                html += breakable(textAt) ? QStringLiteral(" ") : QStringLiteral("&nbsp;");
            else
                html += escapedChar(c);
            ++textAt;
        },
        [&](const Tag &tag) {
            if (tag.closing) {
                closeUpTo(tag.kind);
            } else if (tag.kind == TagKind::Bold) {
                html += QStringLiteral("<b>");
                open.append({TagKind::Bold, QStringLiteral("</b>")});
            } else {
                QString style;
                if (!tag.bgcolor.isEmpty()) {
                    const bool plain = tag.color.isEmpty() && !plainBackground.isEmpty();
                    style += QStringLiteral("background-color:")
                        + (plain ? plainBackground : tag.bgcolor) + u';';
                }
                if (!tag.color.isEmpty())
                    style += QStringLiteral("color:") + tag.color + u';';
                html += QStringLiteral("<span style=\"") + style + QStringLiteral("\">");
                open.append({TagKind::Font, QStringLiteral("</span>")});
            }
        });
    while (!open.isEmpty())
        html += open.takeLast().second;
    return html;
}

QString MarkupToPlainText(const QString &markup)
{
    QString text;
    walk(
        markup, [&](QChar c) { text += c; }, [](const Tag &) {});
    return text;
}

QString NoBreakMarkup(const QString &markup)
{
    QString result;
    result.reserve(markup.size());
    qsizetype i = 0;
    while (i < markup.size()) {
        // A tag's own blanks separate its attributes: they stay.
        if (markup.at(i) == u'<') {
            if (const std::optional<Tag> tag = tagAt(markup, i)) {
                result += QStringView(markup).mid(i, tag->length);
                i += tag->length;
                continue;
            }
        }
        const QChar c = markup.at(i++);
        result += c == u' ' ? QChar(QChar::Nbsp) : c;
        // Lines may also break after a slash ("frames/sec"); a word joiner,
        // which takes no room, holds the two sides together.
        if (c == u'/')
            result += QChar(0x2060);
    }
    return result;
}

namespace {

// Folder (with its trailing separator) and file name of a path, escaped
// for the markup.
std::pair<QString, QString> splitPath(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return {path.left(slash + 1).toHtmlEscaped(), path.mid(slash + 1).toHtmlEscaped()};
}

} // namespace

QString OutputFileMarkup(const QString &path)
{
    const auto [dir, name] = splitPath(path);
    return QStringLiteral("<b><font bgcolor=\"#696969\" color=\"#FFFFFF\"> ") + dir
        + QStringLiteral(" </font> ") + name + QStringLiteral("</b>");
}

QString SkippedFileMarkup(const QString &path)
{
    const auto [dir, name] = splitPath(path);
    return QStringLiteral("<font bgcolor=\"#C0C0C0\">") + dir + QStringLiteral("</font><b>") + name
        + QStringLiteral("</b>");
}
