#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// libFuzzer's entry point; the replay driver calls it too.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

// A broken invariant aborts, so that the fuzzer keeps the input as a crash
// and the replay test fails on it.
#define QLN_FUZZ_CHECK(condition)                                                                  \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace Fuzz {

// The input without a copy and without a terminating NUL, so that reading
// past its end is caught by the address sanitizer.
inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
}

// A file of the process's scratch folder (removed at exit) holding bytes;
// for readers that take a file name. Empty when it cannot be written.
QString writeScratchFile(const QString &name, const QByteArray &bytes);
// The scratch folder itself.
QString scratchDir();

} // namespace Fuzz
