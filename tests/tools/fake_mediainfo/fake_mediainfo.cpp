// A stand-in for the MediaInfo library with its wide-character C interface.
//
// MediaInfo_Open accepts a UTF-8 text file whose first line is
// "FAKE-MEDIAINFO"; every further line "kind;stream;parameter=value" is an
// answer of MediaInfo_Get (blank lines and lines starting with "#" are
// skipped). Any other file fails to open. MediaInfo_Inform answers
// "Fake MediaInfo <name>" and the value last given to the "Complete" option.
// Like the real library, every answer lives in a buffer that the next call
// overwrites. A few counters are exported for the tests.

#include <atomic>
#include <cstddef>
#include <cstdio>
#include <exception>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

#ifndef FAKE_MEDIAINFO_NAME
#define FAKE_MEDIAINFO_NAME "A"
#endif

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::string toUtf8(const wchar_t *text)
{
    std::string out;
    for (; text && *text; ++text) {
        const auto c = static_cast<char32_t>(*text);
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::wstring fromUtf8(const std::string &text)
{
    std::wstring out;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        char32_t c = extra == 3 ? lead & 0x07
            : extra == 2        ? lead & 0x0F
            : extra             ? lead & 0x1F
                                : lead;
        ++i;
        for (; extra > 0 && i < text.size(); --extra, ++i)
            c = (c << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
        out += static_cast<wchar_t>(c);
    }
    return out;
}

using Key = std::tuple<int, size_t, std::wstring>;

struct Handle
{
    std::map<Key, std::wstring> answers;
    std::wstring buffer;
    bool open = false;
};

std::atomic<int> liveHandles{0};
std::atomic<int> openCalls{0};
std::atomic<int> openFiles{0};

std::mutex optionMutex;
std::wstring completeOption = L"unset";
std::wstring optionBuffer;

bool load(const std::string &path, Handle &handle)
{
    FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::string content;
    char chunk[4096];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        content.append(chunk, got);
    std::fclose(file);

    bool first = true;
    size_t start = 0;
    while (start <= content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        std::string line = content.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (first) {
            if (line != "FAKE-MEDIAINFO")
                return false;
            first = false;
            continue;
        }
        if (line.empty() || line[0] == '#')
            continue;
        const size_t s1 = line.find(';');
        const size_t s2 = s1 == std::string::npos ? s1 : line.find(';', s1 + 1);
        const size_t eq = s2 == std::string::npos ? s2 : line.find('=', s2 + 1);
        if (eq == std::string::npos)
            continue;
        try {
            const int kind = std::stoi(line.substr(0, s1));
            const size_t stream = std::stoul(line.substr(s1 + 1, s2 - s1 - 1));
            handle.answers[Key{kind, stream, fromUtf8(line.substr(s2 + 1, eq - s2 - 1))}]
                = fromUtf8(line.substr(eq + 1));
        } catch (const std::exception &) {
            // not an answer line
        }
    }
    return !first;
}

} // namespace

FAKE_EXPORT void *MediaInfo_New()
{
    ++liveHandles;
    return new Handle;
}

FAKE_EXPORT void MediaInfo_Delete(void *handle)
{
    if (!handle)
        return;
    --liveHandles;
    delete static_cast<Handle *>(handle);
}

FAKE_EXPORT size_t MediaInfo_Open(void *handle, const wchar_t *fileName)
{
    ++openCalls;
    auto *h = static_cast<Handle *>(handle);
    h->answers.clear();
    if (!load(toUtf8(fileName), *h))
        return 0;
    if (!h->open)
        ++openFiles;
    h->open = true;
    return 1;
}

FAKE_EXPORT void MediaInfo_Close(void *handle)
{
    auto *h = static_cast<Handle *>(handle);
    if (h->open)
        --openFiles;
    h->open = false;
    h->answers.clear();
}

FAKE_EXPORT const wchar_t *MediaInfo_Inform(void *handle, size_t)
{
    auto *h = static_cast<Handle *>(handle);
    std::lock_guard lock(optionMutex);
    h->buffer = L"Fake MediaInfo " FAKE_MEDIAINFO_NAME L"\nComplete: " + completeOption + L"\n";
    return h->buffer.c_str();
}

#ifndef FAKE_MEDIAINFO_WITHOUT_GET
// Answers only text values looked up by name (info kind 1, search kind 0).
FAKE_EXPORT const wchar_t *MediaInfo_Get(void *handle, int streamKind, size_t streamNumber,
    const wchar_t *parameter, int infoKind, int searchKind)
{
    auto *h = static_cast<Handle *>(handle);
    h->buffer.clear();
    if (infoKind == 1 && searchKind == 0) {
        const auto found = h->answers.find(Key{streamKind, streamNumber, parameter});
        if (found != h->answers.end())
            h->buffer = found->second;
    }
    return h->buffer.c_str();
}
#endif

FAKE_EXPORT const wchar_t *MediaInfo_Option(void *, const wchar_t *option, const wchar_t *value)
{
    std::lock_guard lock(optionMutex);
    const std::wstring name = option ? option : L"";
    optionBuffer.clear();
    if (name == L"Complete")
        completeOption = value ? value : L"";
    else if (name == L"Info_Version")
        optionBuffer = L"MediaInfoLib - v0.0 fake " FAKE_MEDIAINFO_NAME;
    return optionBuffer.c_str();
}

FAKE_EXPORT int FakeMediaInfo_LiveHandles()
{
    return liveHandles;
}

FAKE_EXPORT int FakeMediaInfo_OpenCalls()
{
    return openCalls;
}

FAKE_EXPORT int FakeMediaInfo_OpenFiles()
{
    return openFiles;
}
