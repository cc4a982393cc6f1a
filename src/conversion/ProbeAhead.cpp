#include "conversion/ProbeAhead.h"

#include "conversion/ProbeBatch.h"

#include <algorithm>
#include <memory>

void ProbeAhead::start(const QStringList &inputs, const QString &ffmpeg,
    const QString &mediaInfoLibrary, bool whileConverting)
{
    if (inputs.isEmpty())
        return;
    const auto pending = [&](const File &file) { return file.input == inputs.first(); };
    if (std::any_of(m_files.cbegin(), m_files.cend(), pending))
        return;
    drop();

    auto promises = std::make_shared<std::vector<std::promise<std::optional<TVideoFileInfo>>>>(
        size_t(inputs.size()));
    for (qsizetype k = 0; k < inputs.size(); ++k) {
        File file;
        file.input = inputs.at(k);
        file.stamp = FileStampOf(file.input);
        file.result = (*promises)[size_t(k)].get_future().share();
        m_files.push_back(file);
    }
    m_task = std::async(
        std::launch::async, [this, inputs, promises, ffmpeg, mediaInfoLibrary, whileConverting] {
            // Work ahead must not slow the conversion down: FFmpeg and the
            // MediaInfo analysis that follows it get only what the encoder
            // leaves. This thread is the task's own, so lowering it changes
            // nothing else. The first file's analysis is awaited at once.
            ConsoleRunOptions options = ToolAnswerOptions();
            if (whileConverting) {
                LowerCurrentThreadPriority();
                options.lowestPriority = true;
            }
            int answered = 0;
            try {
                ProbeFilesWithFFmpeg(
                    inputs, ffmpeg, mediaInfoLibrary, m_runner,
                    [&](int k, std::optional<TVideoFileInfo> info) {
                        (*promises)[size_t(k)].set_value(std::move(info));
                        answered = k + 1;
                    },
                    options);
            } catch (...) {
                // Each file is then analysed on its own, which reports it.
            }
            for (size_t k = size_t(answered); k < promises->size(); ++k)
                (*promises)[k].set_value(std::nullopt);
        });
}

bool ProbeAhead::take(const QString &input, TVideoFileInfo &info)
{
    const auto found = std::find_if(
        m_files.begin(), m_files.end(), [&](const File &file) { return file.input == input; });
    if (found == m_files.end())
        return false;
    const File file = *found;
    m_files.erase(found);
    const std::optional<TVideoFileInfo> &probed = file.result.get();
    // A file written meanwhile (the previous file's output, say) is analysed
    // again.
    const std::optional<FileStamp> stamp = FileStampOf(input);
    if (!probed || !stamp || !file.stamp || !(*stamp == *file.stamp))
        return false;
    info = *probed;
    return true;
}

void ProbeAhead::drop()
{
    if (m_task.valid())
        m_task.wait();
    m_task = {};
    m_files.clear();
}
