#include "conversion/EncoderOutput.h"

#include "app/AppInfo.h"
#include "app/TextHelpers.h"
#include "conversion/StatusLine.h"
#include "conversion/TimeLeft.h"
#include "i18n/AppStrings.h"
#include "process/ConsoleOutputCollector.h"

#include <QLatin1String>
#include <QStringMatcher>
#include <algorithm>
#include <array>

namespace {

// Entries that start with one of these (letter case ignored) are noise.
constexpr std::array StartRules = {
    "FFmpeg version",
    "  configuration:",
    "  built with gcc",
    "  libavutil ",
    "  libavcodec ",
    "  libavresample ",
    "  libavformat ",
    "  libavdevice ",
    "  libswscale",
    "  libpostproc",
    "  built on ",
    "  libavcore ",
    "  libavfilter ",
    "  libswresample ",
    "Unable to parse option value",
    "Multiple frames in a packet from stream",
    "[mpeg4 @ 01478BD0]",
    "-async is forwarded",
    "Press [q] to stop",
    "Past duration",
};

// Entries that contain one of these (letter case significant) are noise.
constexpr std::array ContainsRules = {
    "Note: libopencore_amrnb supports dtx",
    "The requested thread algorithm is not supported with this thread library.",
    "Buffering several frames is not supported. Please consume all available",
    "Warning, extension is not",
    "ff asf skip",
    "ff asf bad header",
    "freeing incomplete packet size",
    "Last message repeated",
    "Invalid and inefficient vfw-avi packed B frames detected",
    "Invalid data found when processing input",
    "Header missing",
    "start time is not set in estimate_timings_from_pts",
    "Consider increasing the value for the",
    "Application provided invalid, non monotonically increasing",
    "Non-monotonous DTS in output stream",
    "Queue input is backward in time",
    "Not yet implemented in FFmpeg, patches welcome",
    "Update your FFmpeg version to the newest one from Git",
    "Using AVStream.codec to pass codec parameters to muxers is deprecated",
    "video_delay is larger in decoder than demuxer 1 > 0.",
    "If you want to help, upload a sample",
    "pts has no value",
};

// Entries that contain both texts of a pair (letter case significant).
constexpr std::array<std::array<const char *, 2>, 10> PairRules = {{
    {"h263 @", "warning, clipping"},
    {"vcd", "buffer underflow"},
    {"mpeg4", "Error at MB:"},
    {"mpeg4", "concealing"},
    {"mpeg @", "Invalid timestamps"},
    {"mpegts", "hdmv_pgs_subtitle"},
    {"amrnb", "Corrupt bitstream"},
    {"warning", "dct coefficients to"},
    {"overread", "enddists:"},
    {"Invalid pixel aspect ratio", "reducing"},
}};

const QLatin1String FramePrefix("frame=");
const QLatin1String MultipleFramesPrefix("Multiple frames in a packet from stream");

struct Matchers
{
    std::vector<QStringMatcher> contains;
    std::vector<std::array<QStringMatcher, 2>> pairs;
    std::vector<QStringMatcher> bannerEnds;
};

const Matchers &matchers()
{
    static const Matchers m = [] {
        Matchers result;
        for (const char *text : ContainsRules)
            result.contains.emplace_back(QString::fromLatin1(text));
        for (const auto &pair : PairRules)
            result.pairs.push_back({QStringMatcher(QString::fromLatin1(pair[0])),
                QStringMatcher(QString::fromLatin1(pair[1]))});
        result.bannerEnds.emplace_back(
            QString::fromLatin1(FFmpegBannerDomain) + u')' + FramePrefix);
        result.bannerEnds.emplace_back(QString::fromLatin1(FFmpegBannerEnd) + FramePrefix);
        return result;
    }();
    return m;
}

// Blanks and control characters, as a console program's text is trimmed.
bool isBlankOrControl(QChar c)
{
    return c.unicode() <= 0x20;
}

QString trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlankOrControl(text[begin]))
        ++begin;
    while (end > begin && isBlankOrControl(text[end - 1]))
        --end;
    return text.mid(begin, end - begin).toString();
}

enum class FilterResult { Keep, Delete, Repaired };

FilterResult filterOnce(QString &entry)
{
    if (std::all_of(entry.cbegin(), entry.cend(), isBlankOrControl))
        return FilterResult::Delete;

    const Matchers &m = matchers();
    for (const QStringMatcher &end : m.bannerEnds) {
        const qsizetype at = end.indexIn(entry);
        if (at >= 0) {
            entry.remove(0, at + end.pattern().size() - FramePrefix.size());
            return FilterResult::Repaired;
        }
    }

    for (const char *start : StartRules)
        if (entry.startsWith(QLatin1String(start), Qt::CaseInsensitive))
            return FilterResult::Delete;
    for (const QStringMatcher &text : m.contains)
        if (text.indexIn(entry) >= 0)
            return FilterResult::Delete;
    for (const auto &pair : m.pairs)
        if (pair[0].indexIn(entry) >= 0 && pair[1].indexIn(entry) >= 0)
            return FilterResult::Delete;
    return FilterResult::Keep;
}

} // namespace

bool FilterEncoderOutputEntry(QString &entry)
{
    // The list is filtered again at every line, so a repaired entry meets
    // the rules once more: give what repeated filtering would leave.
    FilterResult result;
    while ((result = filterOnce(entry)) == FilterResult::Repaired) { }
    return result == FilterResult::Keep;
}

void FilterEncoderOutput(QStringList *output)
{
    if (output)
        FilterEncoderOutput(*output);
}

void FilterEncoderOutput(QStringList &output)
{
    qsizetype kept = 0;
    for (qsizetype i = 0; i < output.size(); ++i) {
        QString entry = output.at(i);
        if (FilterEncoderOutputEntry(entry))
            output[kept++] = std::move(entry);
    }
    output.resize(kept);
}

// What one entry contributes to the values of the status line.
struct EncoderOutputHandler::Facts
{
    bool multipleFrames = false;
    bool globalHeaders = false;
    bool muxingOverhead = false;
    bool hasSize = false;
    QString sizePlain;
    bool sizeInBytes = false;
    bool hasSpeed = false;
    QString speed;
    bool hasFrameCount = false;
    int frameCount = 0;
    bool hasFrameRate = false;
    QString frameRate;
};

struct EncoderOutputHandler::Entry
{
    QString text;
    bool filtered = false;
    // Deleted by the filter: no longer part of the list. Kept so that a
    // carriage return still rewrites this line, not the one before it.
    bool removed = false;
    Facts facts;
};

EncoderOutputHandler::EncoderOutputHandler(const TAppStrings &strings)
{
    setStrings(strings);
}

EncoderOutputHandler::~EncoderOutputHandler() = default;

void EncoderOutputHandler::setStrings(const TAppStrings &strings)
{
    m_words = StatusLineWords(strings);
}

void EncoderOutputHandler::clear()
{
    m_entries.clear();
    m_sizeAt = m_speedAt = m_frameCountAt = m_frameRateAt = -1;
    m_multipleFrames = m_globalHeaders = m_muxingOverhead = 0;
    m_firstUnfiltered = 0;
    m_keptChars = 0;
    // The view may still show the previous run's output.
    m_view = ViewState::Stale;
}

void EncoderOutputHandler::parseFacts(const QString &text, Facts &facts)
{
    facts = Facts();
    facts.multipleFrames = text.startsWith(MultipleFramesPrefix, Qt::CaseInsensitive);
    facts.globalHeaders = text.contains(QLatin1String("global headers:"));
    facts.muxingOverhead = text.contains(QLatin1String("muxing overhead:"));

    const qsizetype sizeAt = text.indexOf(QLatin1String("size="));
    if (sizeAt >= 0) {
        const QString after = trimBlanks(QStringView(text).mid(sizeAt + 5));
        const qsizetype unitAt = after.indexOf(QLatin1String("KB "), 0, Qt::CaseInsensitive);
        if (unitAt >= 0) {
            facts.hasSize = true;
            const QString number = after.left(unitAt);
            facts.sizeInBytes = IsValidInt(number);
            facts.sizePlain = facts.sizeInBytes
                ? FormatSize(int64_t(number.toInt()) * 1024, QStringLiteral(" bytes"))
                : number;
        }
    }

    const qsizetype speedAt = text.indexOf(QLatin1String("speed="));
    if (speedAt >= 0) {
        facts.hasSpeed = true;
        facts.speed = trimBlanks(QStringView(text).mid(speedAt + 6));
    }

    if (text.startsWith(FramePrefix, Qt::CaseInsensitive)) {
        const QStringView rest = QStringView(text).mid(FramePrefix.size());
        const qsizetype fpsAt = rest.indexOf(QLatin1String("fps="));
        if (fpsAt >= 0) {
            const QString frameField = trimBlanks(rest.left(fpsAt));
            const QString rateField = trimBlanks(rest.mid(fpsAt + 4));
            if (IsValidInt(frameField)) {
                facts.hasFrameCount = true;
                facts.frameCount = frameField.toInt();
            }
            const qsizetype blankAt = rateField.indexOf(u' ');
            if (blankAt >= 0) {
                facts.hasFrameRate = true;
                facts.frameRate = rateField.left(blankAt);
            }
        }
    }
}

void EncoderOutputHandler::setEntryText(qsizetype index, const QString &text, bool filter)
{
    Entry &entry = m_entries[size_t(index)];
    m_keptChars -= entry.text.size();
    entry.text = text;
    entry.filtered = filter;
    entry.removed = filter && !FilterEncoderOutputEntry(entry.text);
    m_keptChars += entry.text.size();
    if (!entry.removed)
        parseFacts(entry.text, entry.facts);
    ++m_work;
    if (!filter)
        m_firstUnfiltered = std::min(m_firstUnfiltered, index);
    else if (m_firstUnfiltered == index)
        m_firstUnfiltered = index + 1;
}

// Entries change only at the end of the list (or from a point on, in
// filterFrom), so the first entry that sets a value only moves when that
// entry itself changes.
void EncoderOutputHandler::addContribution(qsizetype index)
{
    const Entry &entry = m_entries[size_t(index)];
    if (entry.removed)
        return;
    const Facts &f = entry.facts;
    m_multipleFrames += f.multipleFrames;
    m_globalHeaders += f.globalHeaders;
    m_muxingOverhead += f.muxingOverhead;
    if (m_sizeAt < 0 && f.hasSize)
        m_sizeAt = index;
    if (m_speedAt < 0 && f.hasSpeed)
        m_speedAt = index;
    if (m_frameCountAt < 0 && f.hasFrameCount)
        m_frameCountAt = index;
    if (m_frameRateAt < 0 && f.hasFrameRate)
        m_frameRateAt = index;
}

void EncoderOutputHandler::removeContribution(qsizetype index)
{
    const Entry &entry = m_entries[size_t(index)];
    if (entry.removed)
        return;
    const Facts &f = entry.facts;
    m_multipleFrames -= f.multipleFrames;
    m_globalHeaders -= f.globalHeaders;
    m_muxingOverhead -= f.muxingOverhead;
    for (qsizetype *at : {&m_sizeAt, &m_speedAt, &m_frameCountAt, &m_frameRateAt})
        if (*at == index)
            *at = -1;
}

bool EncoderOutputHandler::filterFrom(qsizetype first)
{
    const qsizetype count = qsizetype(m_entries.size());
    if (first >= count)
        return false;
    for (qsizetype *at : {&m_sizeAt, &m_speedAt, &m_frameCountAt, &m_frameRateAt})
        if (*at >= first)
            *at = -1;
    bool changed = false;
    for (qsizetype i = first; i < count; ++i) {
        Entry &entry = m_entries[size_t(i)];
        if (!entry.removed) {
            const Facts &f = entry.facts;
            m_multipleFrames -= f.multipleFrames;
            m_globalHeaders -= f.globalHeaders;
            m_muxingOverhead -= f.muxingOverhead;
        }
        if (!entry.filtered) {
            const QString before = entry.text;
            setEntryText(i, before, true);
            changed = changed || entry.removed || entry.text != before;
        }
        addContribution(i);
    }
    m_firstUnfiltered = count;
    return changed;
}

void EncoderOutputHandler::dropOldest()
{
    // Down to half the limit, so that this rebuild comes at most once per
    // MaxKeptChars / 2 characters: its cost per line stays constant.
    const qsizetype count = qsizetype(m_entries.size());
    qsizetype dropped = 0;
    while (dropped < count - 1 && m_keptChars > MaxKeptChars / 2)
        m_keptChars -= m_entries[size_t(dropped++)].text.size();
    m_entries.erase(m_entries.begin(), m_entries.begin() + dropped);
    m_firstUnfiltered = std::max<qsizetype>(m_firstUnfiltered - dropped, 0);
    m_sizeAt = m_speedAt = m_frameCountAt = m_frameRateAt = -1;
    m_multipleFrames = m_globalHeaders = m_muxingOverhead = 0;
    for (qsizetype i = 0; i < qsizetype(m_entries.size()); ++i)
        addContribution(i);
    m_work += qsizetype(m_entries.size());
    m_view = ViewState::Stale;
}

EncoderProgressUpdate EncoderOutputHandler::onFlush(
    const ConsoleFlush &flush, const EncoderProgressInputs &inputs)
{
    return onFlush(flush.text, flush.appended, inputs);
}

EncoderProgressUpdate EncoderOutputHandler::onFlush(
    const QString &text, bool appended, const EncoderProgressInputs &inputs)
{
    // As the runner does: with nothing to replace, the text becomes an entry.
    const bool append = appended || m_entries.empty();
    bool wasVisible = false;
    if (append) {
        m_entries.emplace_back();
    } else {
        wasVisible = !m_entries.back().removed;
        removeContribution(qsizetype(m_entries.size()) - 1);
    }
    const qsizetype index = qsizetype(m_entries.size()) - 1;
    setEntryText(index, text, !inputs.HideEncoderOutput);
    addContribution(index);
    if (m_keptChars > MaxKeptChars)
        dropOldest();

    const Entry &entry = m_entries.back();
    const bool visible = !entry.removed;
    OutputViewChange change = OutputViewChange::None;
    if (visible)
        change = append || !wasVisible ? OutputViewChange::AppendLine
                                       : OutputViewChange::ReplaceLastLine;
    else if (wasVisible)
        change = OutputViewChange::RemoveLastLine;
    return handle(inputs, change, visible ? entry.text : QString());
}

EncoderProgressUpdate EncoderOutputHandler::refresh(const EncoderProgressInputs &inputs)
{
    return handle(inputs, OutputViewChange::None, {});
}

void EncoderOutputHandler::FilterEncoderOutput()
{
    if (filterFrom(m_firstUnfiltered))
        m_view = ViewState::Stale;
}

EncoderProgressUpdate EncoderOutputHandler::handle(
    const EncoderProgressInputs &inputs, OutputViewChange change, const QString &line)
{
    EncoderProgressUpdate u;
    const bool showOutput = !inputs.HideEncoderOutput;
    if (showOutput && filterFrom(m_firstUnfiltered))
        m_view = ViewState::Stale;

    if (m_multipleFrames > 0) {
        // Nothing shown changes, the view included: it must be rebuilt once
        // the handler runs again.
        m_view = ViewState::Stale;
        return u;
    }
    u.Updated = true;

    const auto facts = [this](qsizetype at) -> const Facts * {
        return at >= 0 ? &m_entries[size_t(at)].facts : nullptr;
    };
    StatusLineFacts status;
    if (const Facts *f = facts(m_sizeAt)) {
        status.Size = f->sizePlain;
        status.SizeInBytes = f->sizeInBytes;
        u.SizeText = SizeMarkup(f->sizePlain, f->sizeInBytes);
    }
    if (const Facts *f = facts(m_speedAt)) {
        status.Speed = f->speed;
        u.Speed = ParseFFmpegSpeed(f->speed);
        u.SpeedText = SpeedMarkup(f->speed);
    }
    if (const Facts *f = facts(m_frameCountAt))
        u.FrameCount = f->frameCount;
    if (const Facts *f = facts(m_frameRateAt))
        u.FrameRateText = f->frameRate;

    if (u.FrameCount > 0) {
        int64_t percentage = -1;
        if (inputs.TotalFrames > 0)
            percentage = RoundHalfEven(double(u.FrameCount) * 100.0 / double(inputs.TotalFrames));
        u.Percentage = int(std::clamp<int64_t>(percentage, 0, 100));
        if (u.Percentage > 0)
            u.ProgressBar = u.Percentage;
    }

    status.FileNo = inputs.FileNo;
    status.FileCount = inputs.FileCount;
    status.PassNo = inputs.PassNo;
    status.AudioOnly = inputs.AudioOnly;
    status.TwoPass = inputs.TwoPass;
    status.FrameCount = u.FrameCount;
    status.TotalFrames = inputs.TotalFrames;
    status.FrameRate = u.FrameRateText;
    status.Percentage = u.Percentage;
    u.StatusMarkup = StatusLineMarkup(status, m_words);
    u.StatusPlain = StatusLinePlain(status, m_words);

    if (u.Percentage > 0) {
        u.WindowCaption = m_words.progress + u' ' + QString::number(u.Percentage) + u'%';
        if (inputs.IsConverting)
            u.ApplicationTitle = u'(' + QString::number(inputs.FileNo) + u'/'
                + QString::number(inputs.FileCount) + QStringLiteral(") ")
                + QString::number(u.Percentage) + QStringLiteral(" % - ")
                + QLatin1String(AppInfo::ProgramName);
    }

    u.ViewShowsOutput
        = showOutput || u.Percentage == 100 || (m_globalHeaders > 0 && m_muxingOverhead > 0);
    if (m_view == ViewState::Stale) {
        u.ViewChange = OutputViewChange::Reset;
        u.ViewLines = buildViewLines();
        m_view = ViewState::Synced;
    } else {
        u.ViewChange = change;
        u.ViewLine = line;
    }
    return u;
}

QStringList EncoderOutputHandler::entries() const
{
    QStringList result;
    result.reserve(qsizetype(m_entries.size()));
    for (const Entry &entry : m_entries)
        if (!entry.removed)
            result.append(entry.text);
    return result;
}

QString EncoderOutputHandler::outputText() const
{
    return entries().join(u'\n');
}

QStringList EncoderOutputHandler::buildViewLines()
{
    m_work += qsizetype(m_entries.size());
    return entries();
}
