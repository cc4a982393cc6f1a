#pragma once

#include "support/TestSupport.h"

#include <QFile>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace MediaInfoTest {

// tests/tools/fake_mediainfo: "fake_mediainfo", "fake_mediainfo_b" or
// "fake_mediainfo_noget".
inline QString FakeLibrary(const QString &variant = QStringLiteral("fake_mediainfo"))
{
    return TestSupport::ToolPath(QStringLiteral("lib%1.so").arg(variant));
}

// A file the fake library opens: each answer is "kind;stream;parameter=value".
inline QString WriteFakeMedia(const QString &path, const QStringList &answers)
{
    const QString text = QStringLiteral("FAKE-MEDIAINFO\n") + answers.join(u'\n') + u'\n';
    EXPECT_TRUE(TestSupport::WriteFile(path, text.toUtf8())) << path.toStdString();
    return path;
}

// One of the counters the fake exports (FakeMediaInfo_LiveHandles,
// FakeMediaInfo_OpenCalls, FakeMediaInfo_OpenFiles), read from the fake
// already loaded in this process; -1 when it is not loaded.
inline int FakeCounter(const char *name, const QString &variant = QStringLiteral("fake_mediainfo"))
{
    void *module
        = dlopen(QFile::encodeName(FakeLibrary(variant)).constData(), RTLD_NOW | RTLD_NOLOAD);
    if (!module)
        return -1;
    const auto counter = reinterpret_cast<int (*)()>(dlsym(module, name));
    const int value = counter ? counter() : -1;
    dlclose(module); // drops only the reference RTLD_NOLOAD added
    return value;
}

// Ends the fresh copy of the test program: its failures go to standard error,
// which the parent shows, and decide the exit status.
[[noreturn]] inline void ExitWithFailures()
{
    const ::testing::TestResult *result
        = ::testing::UnitTest::GetInstance()->current_test_info()->result();
    for (int i = 0; i < result->total_part_count(); ++i) {
        const ::testing::TestPartResult &part = result->GetTestPartResult(i);
        if (part.failed())
            std::fprintf(stderr, "%s:%d: %s\n", part.file_name() ? part.file_name() : "?",
                part.line_number(), part.summary());
    }
    std::fflush(stderr);
    std::_Exit(result->Failed() ? 1 : 0);
}

// The library module stays loaded for the whole process, so each case that
// loads one runs in a fresh copy of the test program (the "threadsafe"
// death-test style re-executes it).
template <typename Body> void RunInFreshProcess(Body body)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            body();
            ExitWithFailures();
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace MediaInfoTest
