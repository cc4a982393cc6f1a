// The file list filling a folder, measured as a user feels it.
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQLN_BUILD_BENCH=ON
//   cmake --build build-bench --target bench_FileListWindowBench
//
//   bench_FileListWindowBench FOLDER [none|quick|full]
//     adds FOLDER to a shown file list and waits until every row is filled;
//     prints the rows, the wall time, the files per second and the peak
//     resident memory of the process (VmHWM); then the time a change of the
//     video bitrate takes to reach every row's expected size and the footer.
// bench/add_folder_timing.sh compares it with mediainfo run once per file.
#include "app/AppParams.h"
#include "app/ToolResolution.h"
#include "encoding/SettingsDefaults.h"
#include "encoding/SettingsLists.h"
#include "i18n/AppStrings.h"
#include "ui/filelist/FileListPanel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <cstdio>

namespace {

TFileAnalysis modeOf(const QString &name)
{
    if (name == u"none")
        return faNone;
    return name == u"full" ? faFull : faQuick;
}

// The process's peak resident memory in KiB, from /proc.
long peakResidentKib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: bench_FileListWindowBench FOLDER [none|quick|full]\n");
        return 2;
    }
    TAppParams params;
    params.FileAnalysis = modeOf(args.value(1));
    params.DragAcceptDirectories = true;
    const ToolLookup system{QString(), std::nullopt, std::nullopt};
    ResolveMediaInfoPath(params, system);
    ResolveFFmpegPath(params, system);

    TAppStrings strings;
    FileListPanel panel;
    panel.SetLang(strings);
    panel.setParams(params);
    panel.resize(1000, 600);
    panel.show();

    QEventLoop loop;
    QObject::connect(&panel, &FileListPanel::busyChanged, &loop, [&](bool busy) {
        if (!busy)
            loop.quit();
    });
    QTimer::singleShot(600000, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    panel.addFolder(args.first());
    if (panel.isBusy())
        loop.exec();
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    const size_t rows = panel.rows().size();
    std::printf("rows %zu  seconds %.3f  files/s %.1f  peak RSS %ld KiB\n", rows, seconds,
        seconds > 0 ? double(rows) / seconds : 0.0, peakResidentKib());

    // A typed bitrate, as a user changes it: every row and the footer again.
    EncodingSettings settings = DefaultEncodingSettings(strings, 0);
    const EncodingLists lists = BuildEncodingLists(strings, params.ResolutionTxt, QString());
    for (int kbps : {800, 1600, 2400}) {
        settings.cbAviVideoBitrate = QString::number(kbps);
        clock.restart();
        panel.setOutputSettings(settings, lists);
        QCoreApplication::processEvents();
        std::printf("bitrate %d: expected sizes and footer in %.2f ms\n", kbps,
            double(clock.nsecsElapsed()) / 1e6);
    }
    return rows > 0 ? 0 : 1;
}
