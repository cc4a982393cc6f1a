#pragma once

#include <QString>
#include <cstddef>

// The MediaInfo library's wide-character C interface, declared here so the
// build needs no MediaInfo headers. Stream and info kinds are C enums, passed
// as int. wchar_t is UTF-32 on Linux, UTF-16 on Windows.
namespace MediaInfoApi {
using NewFn = void *(*)();
using DeleteFn = void (*)(void *handle);
using OpenFn = size_t (*)(void *handle, const wchar_t *fileName);
using CloseFn = void (*)(void *handle);
using InformFn = const wchar_t *(*)(void *handle, size_t reserved);
using GetFn = const wchar_t *(*)(void *handle, int streamKind, size_t streamNumber,
    const wchar_t *parameter, int infoKind, int searchKind);
using OptionFn = const wchar_t *(*)(void *handle, const wchar_t *option, const wchar_t *value);

inline constexpr int InfoText = 1;
inline constexpr int SearchByName = 0;
} // namespace MediaInfoApi

enum class MediaInfoStreamKind : int {
    General = 0,
    Video = 1,
    Audio = 2,
    Text = 3,
    Other = 4,
    Image = 5,
    Menu = 6,
};

// Entry points of the loaded module; an export the library lacks stays null.
struct MediaInfoFunctions
{
    MediaInfoApi::NewFn New = nullptr;
    MediaInfoApi::DeleteFn Delete = nullptr;
    MediaInfoApi::OpenFn Open = nullptr;
    MediaInfoApi::CloseFn Close = nullptr;
    MediaInfoApi::InformFn Inform = nullptr;
    MediaInfoApi::GetFn Get = nullptr;
    MediaInfoApi::OptionFn Option = nullptr;

    // What an analysis cannot do without.
    bool HasRequired() const { return New && Open && Get && Close; }
};

// Loads the library at path unless a module is loaded already: the first
// module that loads stays for the whole process, whatever path later calls
// pass. A file that does not load, or lacks MediaInfo_New, _Open, _Get or
// _Close, is released again and gives false, so the next call retries.
// Safe to call from several threads.
bool LoadMediaInfoLibrary(const QString &path);

// The entry points of the loaded module; all null before a successful load.
MediaInfoFunctions MediaInfoEntryPoints();

// MediaInfo_Option without a handle (process-wide options); the answer is
// copied at once. Empty when no library is loaded or it lacks the export.
QString MediaInfoOption(const QString &option, const QString &value);

// One analysis handle of the loaded module: created by the constructor,
// closed and released by the destructor. Every text the library returns is
// copied at once, since the library reuses its buffer at the next call.
class MediaInfoHandle
{
public:
    // Needs a successful LoadMediaInfoLibrary; isValid() tells.
    MediaInfoHandle();
    ~MediaInfoHandle();
    MediaInfoHandle(const MediaInfoHandle &) = delete;
    MediaInfoHandle &operator=(const MediaInfoHandle &) = delete;

    bool isValid() const { return m_handle != nullptr; }
    // True when the library could open and parse the file.
    bool open(const QString &fileName);
    // The parameter's text value; empty when the stream or parameter does not
    // exist.
    QString get(MediaInfoStreamKind kind, int streamNumber, const QString &parameter) const;
    // The text report of the opened file.
    QString inform() const;

private:
    MediaInfoFunctions m_api;
    void *m_handle = nullptr;
    bool m_openCalled = false;
};
