#include "analysis/MediaInfoLibrary.h"

#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <dlfcn.h>
#include <langinfo.h>
#include <locale.h>
#include <mutex>
#include <string>

namespace {

struct LoadedModule
{
    void *module = nullptr;
    MediaInfoFunctions api;
};

std::mutex &loadMutex()
{
    static std::mutex mutex;
    return mutex;
}

LoadedModule &loadedModule()
{
    static LoadedModule loaded;
    return loaded;
}

// The library hands out texts in a buffer it reuses; calls that return text
// and the copy that follows them run one at a time.
std::mutex &textCallMutex()
{
    static std::mutex mutex;
    return mutex;
}

QString copyText(const wchar_t *text)
{
    return text ? QString::fromWCharArray(text) : QString();
}

template <typename Fn> Fn resolve(void *module, const char *name)
{
    return reinterpret_cast<Fn>(dlsym(module, name));
}

// The library turns the wide file name into bytes with the C library's
// multibyte conversion, which fails for non-ASCII names under the "C" locale.
// File names are UTF-8 here (as Qt assumes), so the conversion runs with a
// UTF-8 character type for this thread only.
class Utf8CharacterTypeScope
{
public:
    Utf8CharacterTypeScope()
    {
        // NOLINTNEXTLINE(concurrency-mt-unsafe): nothing calls setlocale once running
        if (std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0)
            return;
        locale_t base = duplocale(uselocale(locale_t(0)));
        if (base == locale_t(0))
            return;
        locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", base);
        if (utf8 == locale_t(0)) {
            freelocale(base);
            return;
        }
        m_locale = utf8;
        m_previous = uselocale(utf8);
    }
    ~Utf8CharacterTypeScope()
    {
        if (m_locale == locale_t(0))
            return;
        uselocale(m_previous);
        freelocale(m_locale);
    }
    Utf8CharacterTypeScope(const Utf8CharacterTypeScope &) = delete;
    Utf8CharacterTypeScope &operator=(const Utf8CharacterTypeScope &) = delete;

private:
    locale_t m_locale = locale_t(0);
    locale_t m_previous = locale_t(0);
};

} // namespace

bool LoadMediaInfoLibrary(const QString &path)
{
    std::lock_guard lock(loadMutex());
    LoadedModule &loaded = loadedModule();
    if (loaded.module)
        return true;
    if (path.isEmpty())
        return false;
    // dlopen searches the loader's directories for a name without a slash;
    // the setting names a file.
    const QByteArray file = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    void *module = dlopen(file.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!module)
        return false;

    MediaInfoFunctions api;
    api.New = resolve<MediaInfoApi::NewFn>(module, "MediaInfo_New");
    api.Delete = resolve<MediaInfoApi::DeleteFn>(module, "MediaInfo_Delete");
    api.Open = resolve<MediaInfoApi::OpenFn>(module, "MediaInfo_Open");
    api.Close = resolve<MediaInfoApi::CloseFn>(module, "MediaInfo_Close");
    api.Inform = resolve<MediaInfoApi::InformFn>(module, "MediaInfo_Inform");
    api.Get = resolve<MediaInfoApi::GetFn>(module, "MediaInfo_Get");
    api.Option = resolve<MediaInfoApi::OptionFn>(module, "MediaInfo_Option");
    if (!api.HasRequired()) {
        // Not kept: a corrected library path must work at the next analysis.
        dlclose(module);
        return false;
    }
    loaded.module = module;
    loaded.api = api;
    return true;
}

MediaInfoFunctions MediaInfoEntryPoints()
{
    std::lock_guard lock(loadMutex());
    return loadedModule().api;
}

QString MediaInfoOption(const QString &option, const QString &value)
{
    const MediaInfoFunctions api = MediaInfoEntryPoints();
    if (!api.Option)
        return QString();
    const std::wstring optionText = option.toStdWString();
    const std::wstring valueText = value.toStdWString();
    std::lock_guard lock(textCallMutex());
    return copyText(api.Option(nullptr, optionText.c_str(), valueText.c_str()));
}

MediaInfoHandle::MediaInfoHandle()
    : m_api(MediaInfoEntryPoints())
{
    if (m_api.HasRequired())
        m_handle = m_api.New();
}

MediaInfoHandle::~MediaInfoHandle()
{
    if (!m_handle)
        return;
    if (m_openCalled)
        m_api.Close(m_handle);
    if (m_api.Delete)
        m_api.Delete(m_handle);
}

bool MediaInfoHandle::open(const QString &fileName)
{
    if (!m_handle)
        return false;
    m_openCalled = true;
    const std::wstring name = fileName.toStdWString();
    Utf8CharacterTypeScope utf8Names;
    return m_api.Open(m_handle, name.c_str()) != 0;
}

QString MediaInfoHandle::get(
    MediaInfoStreamKind kind, int streamNumber, const QString &parameter) const
{
    if (!m_handle || streamNumber < 0)
        return QString();
    const std::wstring name = parameter.toStdWString();
    std::lock_guard lock(textCallMutex());
    return copyText(m_api.Get(m_handle, int(kind), size_t(streamNumber), name.c_str(),
        MediaInfoApi::InfoText, MediaInfoApi::SearchByName));
}

QString MediaInfoHandle::inform() const
{
    if (!m_handle || !m_api.Inform)
        return QString();
    std::lock_guard lock(textCallMutex());
    return copyText(m_api.Inform(m_handle, 0));
}
