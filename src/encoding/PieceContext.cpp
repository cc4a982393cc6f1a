#include "encoding/PieceContext.h"

#include "encoding/MessageSink.h"
#include "encoding/SettingsLists.h"

#include <QThread>

PieceContext::PieceContext(const EncodingSettings &settings, const EncodingLists &lists,
    const TAppStrings &strings, const TVideoFileInfo &info)
    : settings(settings)
    , lists(lists)
    , strings(strings)
    , info(info)
    , enabled(EvaluateEnableRules(settings))
    , processorCount(QThread::idealThreadCount())
{ }

int PieceContext::aviCodec() const
{
    const int entry = settings.cbAviVideoCodec;
    return entry >= 0 && entry < AviCodec::Count ? entry : AviCodec::Xvid;
}

int PieceContext::audioCodec() const
{
    const int entry = settings.cbAudioCodec;
    return entry >= 0 && entry < AudioCodec::Count ? entry : AudioCodec::Mp3;
}

QString PieceContext::resolutionText() const
{
    const int entry = settings.cbResolution;
    if (entry < Resolution::FirstPreset || entry >= lists.cbResolution.size())
        return {};
    return lists.cbResolution.at(entry);
}

void PieceContext::warn(const QString &text) const
{
    if (messages)
        messages->warning(text);
}

void PieceContext::warnInvalid(const char *control, const QString &text) const
{
    if (messages)
        messages->invalidSetting(control, text);
}
