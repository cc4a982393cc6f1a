#pragma once

#include "analysis/VideoFileInfo.h"
#include "conversion/FileTimes.h"
#include "process/ConsoleRunner.h"

#include <QStringList>
#include <future>
#include <optional>
#include <vector>

// Analyses the files a run comes to next, in one FFmpeg run on a thread of
// its own, so that each analysis is ready when its file's turn comes.
class ProbeAhead
{
public:
    ProbeAhead() = default;
    ~ProbeAhead() { drop(); }
    ProbeAhead(const ProbeAhead &) = delete;
    ProbeAhead &operator=(const ProbeAhead &) = delete;

    // Starts analysing inputs, dropping what was started before; nothing
    // when the first of them is being analysed already. whileConverting:
    // the analyses take only the CPU time a conversion leaves.
    void start(const QStringList &inputs, const QString &ffmpeg, const QString &mediaInfoLibrary,
        bool whileConverting);
    // The analysis made for input, when the file has not changed since;
    // false when there is none to use. Waits for it when it is not ready.
    bool take(const QString &input, TVideoFileInfo &info);
    // Waits for the analyses started and forgets them.
    void drop();

    // An abort stops it at once: "q" means nothing to a probe.
    ConsoleRunner &runner() { return m_runner; }

private:
    struct File
    {
        QString input;
        std::optional<FileStamp> stamp; // before the analysis
        std::shared_future<std::optional<TVideoFileInfo>> result;
    };

    std::vector<File> m_files;
    std::future<void> m_task;
    ConsoleRunner m_runner;
};
