// The cost of handling one FFmpeg run's output: the bytes go through the
// runner's line collector into the progress handler, as during a conversion.
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQLN_BUILD_BENCH=ON
//   cmake --build build-bench --target bench_EncoderOutputBench
//   build-bench/bin/bench_EncoderOutputBench
#include "conversion/EncoderOutput.h"
#include "i18n/AppStrings.h"
#include "process/ConsoleOutputCollector.h"

#include <QByteArray>
#include <benchmark/benchmark.h>

namespace {

// A banner, then `lines` lines: progress lines ending with a lone CR (one
// entry rewritten), or with CR LF (one entry each, the list grows to
// `lines` entries), with a decoder warning every 100 lines.
QByteArray ffmpegOutput(int lines, bool progressRewrites)
{
    QByteArray bytes = "ffmpeg version 5.1.9-0+deb12u1 Copyright (c) 2000-2026 the FFmpeg "
                       "developers\n  built with gcc 12 (Debian 12.2.0-14+deb12u1)\n"
                       "  libavutil      57. 28.100 / 57. 28.100\n"
                       "Input #0, matroska,webm, from 'in.mkv':\n"
                       "  Duration: 00:33:20.00, start: 0.000000, bitrate: 1200 kb/s\n"
                       "  Stream #0:0: Video: h264 (High), yuv420p, 640x360, 25 fps\n"
                       "Stream mapping:\n  Stream #0:0 -> #0:0 (h264 (native) -> mpeg4 (native))\n"
                       "Press [q] to stop, [?] for help\n";
    for (int i = 1; i <= lines; ++i) {
        if (i % 100 == 0) {
            bytes += "[h264 @ 0x55d0c1a2b3c0] error while decoding MB 12 7\n";
            continue;
        }
        bytes += "frame=" + QByteArray::number(i) + " fps= 50 q=2.0 size=    "
            + QByteArray::number(i * 4) + "kB time=00:00:10.00 bitrate= 838.9kbits/s speed=2.00x"
            + (progressRewrites ? "    \r" : "\r\n");
    }
    bytes += "video:200000kB audio:0kB subtitle:0kB other streams:0kB global headers:0kB "
             "muxing overhead: 0.5%\n";
    return bytes;
}

void handleOutput(benchmark::State &state, bool progressRewrites, bool hideOutput)
{
    const int lines = int(state.range(0));
    const QByteArray bytes = ffmpegOutput(lines, progressRewrites);
    const TAppStrings strings;
    EncoderProgressInputs inputs;
    inputs.IsConverting = true;
    inputs.FileNo = inputs.FileCount = 1;
    inputs.TotalFrames = lines;
    inputs.HideEncoderOutput = hideOutput;
    for (auto _ : state) {
        EncoderOutputHandler handler(strings);
        int percentage = 0;
        ConsoleOutputCollector collector(nullptr, [&](const ConsoleFlush &flush) {
            percentage = handler.onFlush(flush, inputs).Percentage;
        });
        // The runner reads in blocks of this size.
        for (qsizetype at = 0; at < bytes.size(); at += 20481)
            collector.feed(bytes.constData() + at, std::min<qsizetype>(20481, bytes.size() - at));
        collector.finish();
        benchmark::DoNotOptimize(percentage);
    }
    state.SetItemsProcessed(state.iterations() * lines);
}

void ProgressRewritesOneEntry(benchmark::State &state)
{
    handleOutput(state, true, false);
}
void EveryLineAnEntry(benchmark::State &state)
{
    handleOutput(state, false, false);
}
void EveryLineAnEntryOutputHidden(benchmark::State &state)
{
    handleOutput(state, false, true);
}

BENCHMARK(ProgressRewritesOneEntry)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(EveryLineAnEntry)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(EveryLineAnEntryOutputHidden)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
