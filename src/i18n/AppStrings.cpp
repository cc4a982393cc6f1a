#include "i18n/AppStrings.h"

#include "app/IniFile.h"

#include <QFileInfo>
#include <QHash>

namespace {

using Info = TAppStrings::EntryInfo;

#define QLN_SECTION_NAME(Module, Type, Section) constexpr char k##Module##SectionName[] = Section;
QLN_APP_STRING_MODULES(QLN_SECTION_NAME)
#undef QLN_SECTION_NAME

#define QLN_ENTRY_INFO(Module, Key, FileKey, English)                                              \
    Info{QLatin1String(#Module), QLatin1String(#Key), QLatin1String(k##Module##SectionName),       \
        QLatin1String(FileKey)},
const Info kEntries[] = {QLN_APP_STRINGS(QLN_ENTRY_INFO)};
#undef QLN_ENTRY_INFO

using Accessor = QString &(*)(TAppStrings &);
#define QLN_ENTRY_ACCESSOR(Module, Key, FileKey, English)                                          \
    [](TAppStrings &s) -> QString & { return s.Module.Key; },
const Accessor kAccessors[] = {QLN_APP_STRINGS(QLN_ENTRY_ACCESSOR)};
#undef QLN_ENTRY_ACCESSOR

static_assert(std::size(kEntries) == std::size(kAccessors));

const QHash<QString, qsizetype> &indexByName()
{
    static const QHash<QString, qsizetype> index = [] {
        QHash<QString, qsizetype> result;
        for (qsizetype i = 0; i < qsizetype(std::size(kEntries)); ++i)
            result.insert(kEntries[i].name(), i);
        return result;
    }();
    return index;
}

} // namespace

QString TAppStrings::EntryInfo::name() const
{
    return QString(module) + u'.' + key;
}

TAppStrings::TAppStrings()
{
    SetEN();
}

void TAppStrings::SetEN()
{
#define QLN_SET_ENGLISH(Module, Key, FileKey, English) Module.Key = QStringLiteral(English);
    QLN_APP_STRINGS(QLN_SET_ENGLISH)
#undef QLN_SET_ENGLISH
    LanguageName = QStringLiteral("English");
}

void TAppStrings::LoadFromFile(const QString &fileName)
{
    // A folder is no language file: an empty LanguageIni names the folder itself.
    if (!QFileInfo(fileName).isFile())
        return;
    IniFile ini(fileName);
    if (!ini.load())
        return;

    LanguageName = ini.readString(InfoSection, LangNameInEnglishKey);
    for (qsizetype i = 0; i < qsizetype(std::size(kEntries)); ++i) {
        const Info &info = kEntries[i];
        if (info.fileKey.isEmpty() || !ini.hasKey(info.section, info.fileKey))
            continue;
        entry(i) = ini.readString(info.section, info.fileKey);
    }
    // Translators give one word for Close; the two small windows borrow it.
    ToolsInfo.actClose = Errors.actClose;
    CheckUpdate.actClose = Errors.actClose;
    // It captions a group box, where a trailing colon looks wrong.
    Main.OutputDir.remove(u':');
}

QByteArray TAppStrings::toLanguageFile(const QString &nativeName) const
{
    // A line break inside a value would cut it short when the file is read.
    const auto oneLine
        = [](QString value) { return value.replace(u'\r', u' ').replace(u'\n', u' '); };
    QString text = QStringLiteral("; Quillon language file. A missing key keeps the English text.\n"
                                  "[%1]\n%2=%3\n%4=%5\n")
                       .arg(InfoSection, LangNameInEnglishKey, oneLine(LanguageName),
                           LangNameNativeKey, oneLine(nativeName));
    QLatin1String section;
    for (qsizetype i = 0; i < qsizetype(std::size(kEntries)); ++i) {
        const Info &info = kEntries[i];
        if (info.fileKey.isEmpty())
            continue;
        if (info.section != section) {
            section = info.section;
            text += QStringLiteral("\n[%1]\n").arg(section);
        }
        text += QString(info.fileKey) + u'=' + oneLine(entry(i)) + u'\n';
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

std::span<const TAppStrings::EntryInfo> TAppStrings::entries()
{
    return kEntries;
}

qsizetype TAppStrings::entryCount(QStringView module)
{
    qsizetype count = 0;
    for (const Info &info : kEntries)
        if (info.module == module)
            ++count;
    return count;
}

QString &TAppStrings::entry(qsizetype index)
{
    Q_ASSERT(index >= 0 && index < qsizetype(std::size(kAccessors)));
    return kAccessors[index](*this);
}

const QString &TAppStrings::entry(qsizetype index) const
{
    return const_cast<TAppStrings *>(this)->entry(index);
}

QString *TAppStrings::find(QStringView moduleDotKey)
{
    if (moduleDotKey == u"LanguageName")
        return &LanguageName;
    const auto it = indexByName().constFind(moduleDotKey.toString());
    return it == indexByName().cend() ? nullptr : &entry(it.value());
}

const QString *TAppStrings::find(QStringView moduleDotKey) const
{
    return const_cast<TAppStrings *>(this)->find(moduleDotKey);
}

QString FormatAppString(const QString &text, const QString &s1, const QString &s2)
{
    QString escaped = text;
    escaped.replace(QLatin1String("\\n"), QLatin1String("\r\n"));
    escaped.replace(QLatin1String("\\t"), QLatin1String("\t"));
    // The first two placeholders of the entry take s1 and s2; the values are
    // inserted as they are, so a "%s" in a file name stays in the name.
    QString result;
    qsizetype from = 0;
    for (const QString *value : {&s1, &s2}) {
        const qsizetype at = escaped.indexOf(QLatin1String("%s"), from);
        if (at < 0)
            break;
        result += QStringView(escaped).mid(from, at - from);
        result += *value;
        from = at + 2;
    }
    result += QStringView(escaped).mid(from);
    return result;
}

QString LiteralInCaption(const QString &text)
{
    return QString(text).replace(u'&', QStringLiteral("&&"));
}

QString WithoutMnemonic(const QString &caption)
{
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        plain += caption[i];
    }
    return plain;
}
