#pragma once

#include "conversion/ConversionFrontEnd.h"

#include <mutex>

// The front end as the driver calls it: when several files convert at once,
// their progress comes from their own threads while the driver's thread
// reports the files that start and end. One lock keeps every call whole.
// The questions are asked without it: a window's answer may take minutes,
// and the running files must not wait for it.
class SerializedFrontEnd final : public IConversionFrontEnd
{
public:
    explicit SerializedFrontEnd(IConversionFrontEnd &inner)
        : m_inner(inner)
    { }

    void warning(const QString &text) override
    {
        locked([&] { m_inner.warning(text); });
    }
    void invalidSetting(const char *control, const QString &text) override
    {
        locked([&] { m_inner.invalidSetting(control, text); });
    }
    void runStarted() override
    {
        locked([&] { m_inner.runStarted(); });
    }
    void walkStarted(const ConversionWalkStart &start) override
    {
        locked([&] { m_inner.walkStarted(start); });
    }
    void fileStarted(const ConversionFileView &file) override
    {
        locked([&] { m_inner.fileStarted(file); });
    }
    void fileSkipped(const ConversionFileView &file) override
    {
        locked([&] { m_inner.fileSkipped(file); });
    }
    void rowStatusChanged(int row, const QString &status) override
    {
        locked([&] { m_inner.rowStatusChanged(row, status); });
    }
    void progress(const EncoderProgressUpdate &update) override
    {
        locked([&] { m_inner.progress(update); });
    }
    void outputShown(const QString &text) override
    {
        locked([&] { m_inner.outputShown(text); });
    }
    void errorLogged(const QStringList &lines, int count) override
    {
        locked([&] { m_inner.errorLogged(lines, count); });
    }
    void fileFinished(const ConversionFileEnd &end) override
    {
        locked([&] { m_inner.fileFinished(end); });
    }
    void runFinished(const ConversionRunEnd &end) override
    {
        locked([&] { m_inner.runFinished(end); });
    }
    bool askYesNo(const QString &question) override { return m_inner.askYesNo(question); }
    void showError(const QString &text) override
    {
        locked([&] { m_inner.showError(text); });
    }
    void showErrorLog(const QString &caption, bool show) override
    {
        locked([&] { m_inner.showErrorLog(caption, show); });
    }
    bool confirmPowerOff() override { return m_inner.confirmPowerOff(); }
    void closeApplication() override
    {
        locked([&] { m_inner.closeApplication(); });
    }

    // Held while the driver changes what progress updates read on other
    // threads (the batch's counts).
    std::mutex &mutex() { return m_mutex; }

private:
    template <typename Call> void locked(const Call &call)
    {
        const std::lock_guard lock(m_mutex);
        call();
    }

    IConversionFrontEnd &m_inner;
    std::mutex m_mutex;
};
