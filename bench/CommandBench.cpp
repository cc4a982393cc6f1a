// What building one file's command costs: the six pieces and the run text
// for an analysed file, as the conversion driver and the batch export do
// for every file, and the preview the window refreshes on every selection.
#include "analysis/VideoFileInfo.h"
#include "encoding/CommandAssembly.h"
#include "encoding/PieceContext.h"
#include "encoding/SettingsDefaults.h"
#include "encoding/SettingsLists.h"
#include "i18n/AppStrings.h"

#include <benchmark/benchmark.h>

namespace {

// A 1080p H.264 file with a 5.1 AC-3 track and a stereo AAC track, as the
// analysis describes it.
TVideoFileInfo AnalysedFile()
{
    TVideoFileInfo info;
    info.NumberOfVideoStreams = 1;
    info.NumberOfAudioStreams = 2;
    TVideoStreamInfo &video = info.VideoStreams[0];
    video.Exists = true;
    video.Codec = QStringLiteral("h264");
    video.Width = 1920;
    video.Height = 1080;
    video.FPS = 23.976;
    video.Bitrate = 9800;
    video.BitsPerPixel = 0.197;
    video.ScanType = QStringLiteral("Interlaced");
    const int channels[] = {6, 2};
    const int bitrates[] = {448, 160};
    for (int i = 0; i < 2; ++i) {
        TAudioStreamInfo &audio = info.AudioStreams[size_t(i)];
        audio.Exists = true;
        audio.Channels = uint8_t(channels[i]);
        audio.SamplingRate = 48000;
        audio.Bitrate = bitrates[i];
        audio.StreamIndex = uint8_t(i + 1);
    }
    return info;
}

struct Fixture
{
    TAppStrings strings;
    EncodingSettings settings = DefaultEncodingSettings(strings, AviCodec::Xvid);
    EncodingLists lists = BuildEncodingLists(
        strings, QStringLiteral("/nonexistent/r.txt"), QStringLiteral("/nonexistent/t.txt"));
    TVideoFileInfo info = AnalysedFile();
};

// H.264 in two passes with every picture filter, a forced tag, track 2 and
// user parameters: the longest path through the builders.
void ConfigureBusy(EncodingSettings &s)
{
    s.cbAviVideoCodec = AviCodec::H264;
    s.chAviVideo2Pass = true;
    s.cbAviVideoAspect = QStringLiteral("16:9");
    s.cbAudioCodec = AudioCodec::Mp3;
    s.cbAudioTrackNo = 2;
    s.tbAudioVolume = 150;
    s.cbResolution = 8;
    s.spedCropTop = s.spedCropBottom = 8;
    s.chBrightness = s.chSaturation = true;
    s.tbBrightness = 3;
    s.chFlipHorizontal = s.chNegative = s.chConvertColors = s.chRotate = true;
    s.chVideoFourcc = true;
    s.meParams = QStringLiteral("-metadata title=\"Bench\"\n-ss 1");
}

void BuildRun(benchmark::State &state, bool busy)
{
    Fixture f;
    if (busy)
        ConfigureBusy(f.settings);
    const QString in = QStringLiteral("/videos/Some Movie (2010).mkv");
    const QString out = QStringLiteral("/videos/Some Movie (2010).avi");
    for (auto _ : state) {
        // The context evaluates the enable rules, as each file's build does.
        const PieceContext ctx(f.settings, f.lists, f.strings, f.info);
        FileCommands commands = BuildFileCommands(ctx, QStringLiteral("/usr/bin/ffmpeg"), in, out);
        benchmark::DoNotOptimize(commands);
    }
}

void BM_PiecesAndRunText_Xvid(benchmark::State &state)
{
    BuildRun(state, false);
}
BENCHMARK(BM_PiecesAndRunText_Xvid);

void BM_PiecesAndRunText_H264TwoPassAllFilters(benchmark::State &state)
{
    BuildRun(state, true);
}
BENCHMARK(BM_PiecesAndRunText_H264TwoPassAllFilters);

void BM_PreviewText(benchmark::State &state)
{
    Fixture f;
    ConfigureBusy(f.settings);
    for (auto _ : state) {
        const PieceContext ctx(f.settings, f.lists, f.strings, f.info);
        QString text = PreviewText(ctx, QStringLiteral("/videos/Some Movie (2010).mkv"));
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_PreviewText);

} // namespace

BENCHMARK_MAIN();
