#pragma once

#include "analysis/FileInfoReport.h"
#include "analysis/VideoFileInfo.h"
#include "i18n/AppStrings.h"

#include <QWidget>
#include <functional>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableWidget;

// The file information window: the facts of one file (general, a chosen
// video and audio stream, FFmpeg's stream lines) and its text report to
// copy or save. The file is analysed off the window's thread; while the
// window is shown the main window gives it the selected row's file.
class TFormFileInfo : public QWidget
{
    Q_OBJECT
public:
    // Heights in pixels: the window opens at most this tall, and may be made
    // this short; its facts scroll inside.
    static constexpr int MaxOpeningHeight = 700;
    static constexpr int MinimumHeight = 360;

    explicit TFormFileInfo(QWidget *owner = nullptr);
    ~TFormFileInfo() override;

    // SetLang.
    void SetLang(const TAppStrings &strings);
    // The program's web site (second line of the report).
    void setWebSite(const QString &webSite);

    // Shows the window centred over its owner, or hides it (F10); true when
    // it is shown now. Its caption returns to FileInfo.Caption.
    bool toggleShown();
    // The file to show, analysed with ffmpeg (and the MediaInfo library when
    // given) off the window's thread; streams 1 and 1 are shown. Without a
    // usable FFmpeg the window is emptied and ffmpegMissing() is emitted; an
    // empty path empties it.
    void setFile(const QString &path, const QString &ffmpeg, const QString &mediaInfoDll);
    // ClearAll.
    void ClearAll();

    // The file shown, and whether an analysis or a report is being made.
    QString fileName() const;
    bool isBusy() const;
    // UpdateList with the record shown and the two stream numbers.
    void UpdateList(const TVideoFileInfo &info, int audioNo, int videoNo);

    // actCopyToClipboard and actSave; the report is made off the window's
    // thread, the same text quillon-cli info prints.
    void copyReport();
    void saveReport();

Q_SIGNALS:
    // The main window shows ShowFFmpegMissing over itself.
    void ffmpegMissing();
    // An analysis or a report finished (tests).
    void idle();
    void reportCopied();

private:
    struct Private;
    QLabel *valueLabel(const char *name);
    void fillSelectors(const FileInfoContent &content);
    void onProbed(const TVideoFileInfo &info);
    void onSelectorChanged();
    void withReport(std::function<void(const QString &)> use);
    void openPath(const QString &path);

    std::unique_ptr<Private> d;
};
