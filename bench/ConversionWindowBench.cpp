// The conversion run from the windows, measured as a user feels it.
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQLN_BUILD_BENCH=ON
//   cmake --build build-bench --target bench_ConversionWindowBench
//
//   bench_ConversionWindowBench stall FFMPEG FILE [EXTRA-PARAMS]
//     converts FILE with the progress window open and reports the longest
//     time the window's event loop did not run (a 5 ms timer's largest gap),
//     and how many gaps were over 50 ms. FFMPEG may be the tests' fake
//     (QLN_FAKE_FFMPEG_SCRIPT with "lines:50000,1000" makes it chatty) or the
//     real one with EXTRA-PARAMS such as "-loglevel debug". QLN_BENCH_JOBS=N
//     converts 2N copies of FILE, N at a time.
//   bench_ConversionWindowBench convert FFMPEG FILE...
//     converts the files (Xvid, MP3, outputs overwritten) through the
//     controller and prints the wall time in milliseconds.
//   bench_ConversionWindowBench script FFMPEG OUT.sh FILE...
//     exports the same conversions as a shell script through the controller.
// bench/convert_window_timing.sh compares "convert" with running "script"'s
// output.
#include "encoding/SettingsDefaults.h"
#include "encoding/SettingsLists.h"
#include "ui/conversion/ConversionController.h"
#include "ui/conversion/ErrorLogWindow.h"
#include "ui/conversion/ProgressWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

ConversionSetup setupFor(const QString &ffmpeg, const QString &extra)
{
    ConversionSetup s;
    s.settings = DefaultEncodingSettings(s.strings, AviCodec::Xvid);
    s.settings.cbAudioCodec = AudioCodec::Mp3;
    s.settings.cbOutputExists = OutputExists::Overwrite;
    s.settings.meParams = extra;
    s.lists = BuildEncodingLists(s.strings, QStringLiteral("/nonexistent/resolutions.txt"),
        QStringLiteral("/nonexistent/fourcc_video_tags.txt"));
    s.params.ffmpeg = ffmpeg;
    s.toolLookup = ToolLookup{QString(), QStringList(), QStringList()};
    return s;
}

std::vector<ConversionRow> rowsOf(const QStringList &files)
{
    std::vector<ConversionRow> rows;
    for (const QString &file : files) {
        ConversionRow row;
        row.FullFileName = file;
        rows.push_back(row);
    }
    return rows;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: see the head of bench/ConversionWindowBench.cpp\n");
        return 2;
    }
    const QString mode = args[0];
    const QString ffmpeg = args[1];

    TFormProgress progress;
    TFormErrors errors;
    ConversionController controller(nullptr, &progress, &errors);
    controller.setDesktopServices(nullptr, nullptr);
    QEventLoop loop;
    QObject::connect(&controller, &ConversionController::runFinished, &loop, &QEventLoop::quit);

    if (mode == QLatin1String("script")) {
        if (!controller.startBatchScript(setupFor(ffmpeg, {}), rowsOf(args.mid(3)), args[2]))
            return 1;
        loop.exec();
        return controller.lastResult().ScriptSaved ? 0 : 1;
    }

    const bool stall = mode == QLatin1String("stall");
    QStringList files = stall ? args.mid(2, 1) : args.mid(2);
    const QString extra = stall && args.size() > 3 ? args[3] : QString();
    ConversionSetup setup = setupFor(ffmpeg, extra);
    const int jobs = qEnvironmentVariableIntValue("QLN_BENCH_JOBS");
    QTemporaryDir copies;
    if (stall && jobs > 1) {
        // Every slot busy to the end: twice as many files as slots.
        const QString suffix = QFileInfo(files.first()).suffix();
        QStringList copied;
        for (int k = 0; k < 2 * jobs; ++k) {
            const QString copy = copies.filePath(QStringLiteral("copy %1.").arg(k) + suffix);
            if (!QFile::copy(files.first(), copy))
                return 1;
            copied << copy;
        }
        files = copied;
        setup.settings.cbSimultaneousConversions = jobs;
    }
    QElapsedTimer wall;
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    int over50 = 0;
    int ticks = 0;
    QTimer probe;
    probe.setInterval(5);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (sinceTick.isValid()) {
            const qint64 gap = sinceTick.elapsed();
            longestGap = std::max(longestGap, gap);
            over50 += gap > 50;
        }
        sinceTick.start();
        ++ticks;
    });
    if (stall)
        probe.start();
    wall.start();
    if (!controller.convert(setup, rowsOf(files)))
        return 1;
    loop.exec();
    const qint64 ms = wall.elapsed();
    for (const ConversionRow &row : controller.lastResult().rows) {
        if (!row.Status.startsWith(QLatin1String("Done")))
            std::fprintf(stderr, "%s: %s\n", qPrintable(row.FullFileName), qPrintable(row.Status));
    }
    if (stall) {
        std::printf("wall %lld ms, %d ticks, longest event-loop gap %lld ms, gaps over 50 ms: %d, "
                    "output view %lld lines\n",
            static_cast<long long>(ms), ticks, static_cast<long long>(longestGap), over50,
            static_cast<long long>(progress.outputText().count(u'\n') + 1));
    } else {
        std::printf("%lld\n", static_cast<long long>(ms));
    }
    return 0;
}
