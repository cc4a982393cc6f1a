#include "ui/info/FileInfoWindow.h"

#include "analysis/FFmpegProbe.h"
#include "ui/common/BackgroundJobs.h"
#include "ui/common/DialogFilter.h"
#include "ui/common/PlainText.h"
#include "ui/common/ScrollAreas.h"
#include "ui/common/Theme.h"
#include "ui/common/WindowPlacement.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLinearGradient>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <functional>
#include <map>

namespace {

// The data-stream grid's rows: video and audio rows in their colours on a
// vertical gradient, the others in the palette's secondary text colour.
class DataStreamDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override
    {
        const QString details = index.siblingAtColumn(1).data().toString();
        const DataStreamRowColors colors = DataStreamRowColorsOf(details);
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        if (colors.plain) {
            opt.palette.setColor(QPalette::Text, DimmedTextColor(opt.palette));
        } else if (!(opt.state & QStyle::State_Selected)) {
            QLinearGradient gradient(opt.rect.topLeft(), opt.rect.bottomLeft());
            gradient.setColorAt(0, QColor(QRgb(colors.gradientTop)));
            gradient.setColorAt(1, QColor(QRgb(colors.gradientBottom)));
            painter->fillRect(opt.rect, gradient);
            opt.backgroundBrush = Qt::NoBrush;
            opt.palette.setColor(QPalette::Text, QColor(QRgb(colors.text)));
        }
        QStyledItemDelegate::paint(painter, opt, index);
    }
};

QLabel *linkLabel(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setOpenExternalLinks(false);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return label;
}

// A link whose text is the name, shown as text, never as markup.
QString linkMarkup(const QString &text)
{
    return text.isEmpty()
        ? QString()
        : QStringLiteral("<a href=\"#\">") + text.toHtmlEscaped() + QStringLiteral("</a>");
}

} // namespace

struct TFormFileInfo::Private
{
    QScrollArea *scroll = nullptr;
    TAppStrings strings;
    QString webSite;
    QString ffmpeg;
    QString mediaInfoDll;
    TVideoFileInfo info;
    bool hasInfo = false;
    bool filling = false;
    // The analysis of the file asked for last, and the reports; two
    // threads, so a report never waits for an analysis.
    static constexpr BackgroundJobs::Kind ProbeJob = 0;
    BackgroundJobs jobs{2};

    QLabel *lblFileNameDesc = nullptr;
    QLabel *lblFileName = nullptr;
    QLabel *lblDirectoryDesc = nullptr;
    QLabel *lblDirectory = nullptr;
    QString fileTarget;
    QString directoryTarget;
    QGroupBox *pnGeneralInfo = nullptr;
    QGroupBox *pnVideoStream = nullptr;
    QGroupBox *pnAudioStream = nullptr;
    QLabel *lblDataStreams = nullptr;
    QComboBox *cbVideoStreamNo = nullptr;
    QComboBox *cbAudioStreamNo = nullptr;
    QTableWidget *ng = nullptr;
    QPushButton *btnCopy = nullptr;
    QPushButton *btnSave = nullptr;
    QPushButton *btnClose = nullptr;
    // Description labels by the catalogue entry that captions them, value
    // labels by their described names.
    std::vector<std::pair<QLabel *, QString TFileInfoModuleStrings::*>> descriptions;
    std::map<QString, QLabel *> values;
};

TFormFileInfo::TFormFileInfo(QWidget *owner)
    : QWidget(owner, Qt::Window | Qt::WindowStaysOnTopHint)
    , d(std::make_unique<Private>())
{
    setObjectName(QStringLiteral("FormFileInfo"));

    d->lblFileNameDesc = new QLabel(this);
    d->lblFileName = linkLabel(this, "lblFileName");
    d->lblDirectoryDesc = new QLabel(this);
    d->lblDirectory = linkLabel(this, "lblDirectory");
    d->lblFileNameDesc->setBuddy(d->lblFileName);
    d->lblDirectoryDesc->setBuddy(d->lblDirectory);
    connect(d->lblFileName, &QLabel::linkActivated, this, [this] { openPath(d->fileTarget); });
    connect(
        d->lblDirectory, &QLabel::linkActivated, this, [this] { openPath(d->directoryTarget); });
    auto *top = new QFormLayout;
    top->addRow(d->lblFileNameDesc, d->lblFileName);
    top->addRow(d->lblDirectoryDesc, d->lblDirectory);

    const auto row
        = [this](QFormLayout *form, const char *name, QString TFileInfoModuleStrings::*caption) {
              auto *desc = new QLabel(this);
              QLabel *value = valueLabel(name);
              desc->setBuddy(value);
              form->addRow(desc, value);
              d->descriptions.emplace_back(desc, caption);
          };
    using S = TFileInfoModuleStrings;
    d->pnGeneralInfo = new QGroupBox(this);
    // Two columns: the file's facts, then its stream counts.
    auto *general = new QHBoxLayout(d->pnGeneralInfo);
    auto *facts = new QFormLayout;
    auto *counts = new QFormLayout;
    general->addLayout(facts, 3);
    general->addSpacing(12);
    general->addLayout(counts, 2);
    row(facts, "lblFileSize", &S::lblFileSize);
    row(facts, "lblDuration", &S::lblDuration);
    row(facts, "lblOverallBitrate", &S::lblOverallBitrate);
    row(facts, "lblFormat", &S::lblFormat);
    row(counts, "lblEncodedApplication", &S::lblEncodedApplication);
    row(counts, "lblNumberOfDataStreams", &S::lblNumberOfDataStreams);
    row(counts, "lblNumberOfVideoStreams", &S::lblNumberOfVideoStreams);
    row(counts, "lblNumberOfAudioStreams", &S::lblNumberOfAudioStreams);

    d->pnVideoStream = new QGroupBox(this);
    auto *video = new QFormLayout(d->pnVideoStream);
    d->cbVideoStreamNo = new QComboBox(this);
    d->cbVideoStreamNo->setObjectName(QStringLiteral("cbVideoStreamNo"));
    video->addRow(d->cbVideoStreamNo);
    row(video, "lblVideoCodec", &S::lblVideoCodec);
    row(video, "lblProfile", &S::lblVideoProfile);
    row(video, "lblVideoBitrate", &S::lblVideoBitrate);
    row(video, "lblResolution", &S::lblResolution);
    row(video, "lblDisplayAspectRatio", &S::lblDisplayAspectRatio);
    row(video, "lblFPS", &S::lblFPS);
    row(video, "lblScanType", &S::lblScanType);
    row(video, "lblPixelFormat", &S::lblPixelFormat);
    row(video, "lblBitsPerPixel", &S::lblBitsPerPixel);
    row(video, "lblVideoFrames", &S::lblVideoFrames);
    row(video, "lblVideoStreamSize", &S::lblVideoStreamSize);
    row(video, "lblVideoEncodedLibrary", &S::lblVideoEncodedLibrary);
    row(video, "lblVideoStreamIndex", &S::lblVideoStreamIndex);

    d->pnAudioStream = new QGroupBox(this);
    auto *audio = new QFormLayout(d->pnAudioStream);
    d->cbAudioStreamNo = new QComboBox(this);
    d->cbAudioStreamNo->setObjectName(QStringLiteral("cbAudioStreamNo"));
    audio->addRow(d->cbAudioStreamNo);
    row(audio, "lblAudioCodec", &S::lblAudioCodec);
    row(audio, "lblAudioProfile", &S::lblAudioProfile);
    row(audio, "lblAudioBitrate", &S::lblAudioBitrate);
    row(audio, "lblChannels", &S::lblChannels);
    row(audio, "lblSamplingRate", &S::lblSamplingRate);
    row(audio, "lblBitsPerSample", &S::lblBitsPerSample);
    row(audio, "lblAudioFrames", &S::lblAudioFrames);
    row(audio, "lblVideoDelay", &S::lblVideoDelay);
    row(audio, "lblAudioLanguage", &S::lblAudioLanguage);
    row(audio, "lblAudioStreamSize", &S::lblAudioStreamSize);
    row(audio, "lblAudioEncodedLibrary", &S::lblAudioEncodedLibrary);
    row(audio, "lblAudioStreamIndex", &S::lblAudioStreamIndex);

    d->lblDataStreams = new QLabel(this);
    d->ng = new QTableWidget(0, 2, this);
    d->ng->setObjectName(QStringLiteral("ng"));
    d->ng->verticalHeader()->hide();
    d->ng->horizontalHeader()->setStretchLastSection(true);
    d->ng->setEditTriggers(QAbstractItemView::NoEditTriggers);
    d->ng->setSelectionBehavior(QAbstractItemView::SelectRows);
    d->ng->setItemDelegate(new DataStreamDelegate(d->ng));
    d->ng->setWordWrap(false);
    d->lblDataStreams->setBuddy(d->ng);

    d->btnCopy = new QPushButton(this);
    d->btnCopy->setIcon(QIcon::fromTheme(QStringLiteral("edit-copy")));
    d->btnSave = new QPushButton(this);
    d->btnSave->setIcon(QIcon::fromTheme(QStringLiteral("document-save-as")));
    d->btnClose = new QPushButton(this);
    connect(d->btnCopy, &QPushButton::clicked, this, &TFormFileInfo::copyReport);
    connect(d->btnSave, &QPushButton::clicked, this, &TFormFileInfo::saveReport);
    connect(d->btnClose, &QPushButton::clicked, this, &QWidget::close);
    auto *esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, &QWidget::close);
    auto *copy = new QShortcut(QKeySequence::Copy, this);
    connect(copy, &QShortcut::activated, this, &TFormFileInfo::copyReport);

    connect(d->cbVideoStreamNo, &QComboBox::currentIndexChanged, this,
        &TFormFileInfo::onSelectorChanged);
    connect(d->cbAudioStreamNo, &QComboBox::currentIndexChanged, this,
        &TFormFileInfo::onSelectorChanged);

    auto *streams = new QHBoxLayout;
    streams->addWidget(d->pnVideoStream, 1);
    streams->addWidget(d->pnAudioStream, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(d->btnCopy);
    buttons->addWidget(d->btnSave);
    buttons->addStretch(1);
    buttons->addWidget(d->btnClose);
    // The facts scroll, the buttons stay: the whole window fits a laptop's
    // 768-pixel screen.
    auto *body = new QWidget(this);
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(d->pnGeneralInfo);
    layout->addLayout(streams);
    layout->addWidget(d->lblDataStreams);
    layout->addWidget(d->ng, 1);
    d->scroll = new VerticalScrollArea(this);
    d->scroll->setObjectName(QStringLiteral("scroll"));
    d->scroll->setWidget(body);
    d->scroll->setWidgetResizable(true);
    d->scroll->setFrameShape(QFrame::NoFrame);
    d->scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(d->scroll, 1);
    outer->addLayout(buttons);

    SetLang(TAppStrings());
    ClearAll();
    // Never narrower than its contents, nor wider than designed plus 300
    // pixels; at most MaxOpeningHeight tall at first.
    const int frame = sizeHint().height() - d->scroll->sizeHint().height();
    const QSize designed(std::max(sizeHint().width(), 640), body->sizeHint().height() + frame);
    setMinimumHeight(std::min(designed.height(), MinimumHeight));
    setMaximumWidth(designed.width() + 300);
    resize(designed.width(), std::min(designed.height(), MaxOpeningHeight));
}

TFormFileInfo::~TFormFileInfo()
{
    d->jobs.stopAndWait();
}

QLabel *TFormFileInfo::valueLabel(const char *name)
{
    auto *label = new QLabel(this);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    d->values[QLatin1String(name)] = label;
    return label;
}

void TFormFileInfo::SetLang(const TAppStrings &strings)
{
    d->strings = strings;
    const TFileInfoModuleStrings &s = strings.FileInfo;
    setWindowTitle(d->hasInfo ? FileInfoCaption(d->info, s) : s.Caption);
    d->lblFileNameDesc->setText(s.lblFileName);
    d->lblDirectoryDesc->setText(s.lblDirectory);
    for (const auto &[label, caption] : d->descriptions)
        label->setText(s.*caption);
    d->pnGeneralInfo->setTitle(s.gbGeneralInfo);
    d->pnVideoStream->setTitle(s.gbVideoStream);
    d->pnAudioStream->setTitle(s.gbAudioStream);
    // The stream lists sit under their group's title, without a label.
    d->cbVideoStreamNo->setAccessibleName(WithoutMnemonic(s.gbVideoStream));
    d->cbAudioStreamNo->setAccessibleName(WithoutMnemonic(s.gbAudioStream));
    d->scroll->setAccessibleName(s.Caption);
    d->lblDataStreams->setText(s.lblDataStreams);
    d->ng->setHorizontalHeaderLabels({s.ColumnTitle_Stream, s.ColumnTitle_Details});
    d->btnCopy->setText(s.btnCopy);
    d->btnCopy->setToolTip(s.actCopy);
    d->btnSave->setText(s.actSave);
    d->btnClose->setText(s.actClose);
    if (d->hasInfo)
        UpdateList(d->info, d->cbAudioStreamNo->currentIndex() + 1,
            d->cbVideoStreamNo->currentIndex() + 1);
}

void TFormFileInfo::setWebSite(const QString &webSite)
{
    d->webSite = webSite;
}

bool TFormFileInfo::toggleShown()
{
    setWindowTitle(d->strings.FileInfo.Caption);
    if (isVisible()) {
        hide();
        return false;
    }
    CentreOverOwner(this);
    show();
    raise();
    return true;
}

void TFormFileInfo::setFile(const QString &path, const QString &ffmpeg, const QString &mediaInfoDll)
{
    // Only the answer for the file asked for last is shown.
    d->jobs.cancel(Private::ProbeJob);
    if (path.isEmpty()) {
        d->hasInfo = false;
        ClearAll();
        setWindowTitle(d->strings.FileInfo.Caption);
        return;
    }
    if (ffmpeg.isEmpty() || !QFileInfo(ffmpeg).isFile()) {
        d->hasInfo = false;
        ClearAll();
        Q_EMIT ffmpegMissing();
        return;
    }
    d->ffmpeg = ffmpeg;
    d->mediaInfoDll = mediaInfoDll;
    d->jobs.run(
        Private::ProbeJob,
        [path, ffmpeg, mediaInfoDll](BackgroundJob &job) {
            TVideoFileInfo info;
            try {
                ProbeWithFFmpeg(path, ffmpeg, mediaInfoDll, info, &job.runner());
            } catch (const ConsoleRunError &) {
                // Name and size only, as when the analysis fails.
            }
            return info;
        },
        [this](const TVideoFileInfo &info) { onProbed(info); });
}

void TFormFileInfo::onProbed(const TVideoFileInfo &info)
{
    d->info = info;
    d->hasInfo = true;
    setWindowTitle(FileInfoCaption(info, d->strings.FileInfo));
    UpdateList(info, 1, 1);
    if (!isBusy())
        Q_EMIT idle();
}

QString TFormFileInfo::fileName() const
{
    return d->hasInfo ? d->info.FileName : QString();
}

bool TFormFileInfo::isBusy() const
{
    return d->jobs.pending() > 0;
}

void TFormFileInfo::ClearAll()
{
    d->fileTarget.clear();
    d->directoryTarget.clear();
    d->lblFileName->clear();
    d->lblDirectory->clear();
    for (auto &[name, label] : d->values)
        label->clear();
    d->ng->setRowCount(0);
}

void TFormFileInfo::fillSelectors(const FileInfoContent &content)
{
    const auto fill = [](QComboBox *box, const FileInfoStreamSelector &selector) {
        box->clear();
        for (int i = 1; i <= selector.ItemCount; ++i)
            box->addItem(QString::number(i));
        box->setCurrentIndex(selector.Selected - 1);
        box->setEnabled(selector.Enabled);
    };
    fill(d->cbVideoStreamNo, content.VideoSelector);
    fill(d->cbAudioStreamNo, content.AudioSelector);
}

void TFormFileInfo::UpdateList(const TVideoFileInfo &info, int audioNo, int videoNo)
{
    ClearAll();
    const FileInfoContent c = FileInfoView(info, audioNo, videoNo, d->strings.FileInfo);
    d->filling = true;
    fillSelectors(c);
    d->filling = false;
    d->fileTarget = c.FileNameTarget;
    d->directoryTarget = c.Directory;
    d->lblFileName->setText(linkMarkup(c.FileName));
    d->lblFileName->setToolTip(PlainToolTip(c.FileNameTarget));
    d->lblDirectory->setText(linkMarkup(c.Directory));
    d->lblDirectory->setToolTip(PlainToolTip(c.Directory));
    const auto set = [this](const char *name, const QString &text) {
        d->values.at(QLatin1String(name))->setText(text);
    };
    set("lblFileSize", c.FileSize);
    set("lblDuration", c.Duration);
    set("lblOverallBitrate", c.OverallBitrate);
    set("lblFormat", c.Format);
    set("lblEncodedApplication", c.EncodedApplication);
    set("lblNumberOfDataStreams", c.NumberOfDataStreams);
    set("lblNumberOfVideoStreams", c.NumberOfVideoStreams);
    set("lblNumberOfAudioStreams", c.NumberOfAudioStreams);
    const VideoStreamFacts &v = c.Video;
    set("lblVideoCodec", v.Codec);
    set("lblProfile", v.Profile);
    set("lblVideoBitrate", v.Bitrate);
    set("lblResolution", v.Resolution);
    set("lblDisplayAspectRatio", v.DisplayAspectRatio);
    set("lblFPS", v.FPS);
    set("lblScanType", v.ScanType);
    set("lblPixelFormat", v.PixelFormat);
    set("lblBitsPerPixel", v.BitsPerPixel);
    set("lblVideoFrames", v.Frames);
    set("lblVideoStreamSize", v.StreamSize);
    set("lblVideoEncodedLibrary", v.EncodedLibrary);
    set("lblVideoStreamIndex", v.StreamIndex);
    const AudioStreamFacts &a = c.Audio;
    set("lblAudioCodec", a.Codec);
    set("lblAudioProfile", a.Profile);
    set("lblAudioBitrate", a.Bitrate);
    set("lblChannels", a.Channels);
    set("lblSamplingRate", a.SamplingRate);
    set("lblBitsPerSample", a.BitsPerSample);
    set("lblAudioFrames", a.Frames);
    set("lblVideoDelay", a.VideoDelay);
    set("lblAudioLanguage", a.Language);
    set("lblAudioStreamSize", a.StreamSize);
    set("lblAudioEncodedLibrary", a.EncodedLibrary);
    set("lblAudioStreamIndex", a.StreamIndex);

    d->ng->setRowCount(int(c.DataStreams.size()));
    for (int i = 0; i < int(c.DataStreams.size()); ++i) {
        d->ng->setItem(i, 0, new QTableWidgetItem(c.DataStreams.at(i).Stream));
        d->ng->setItem(i, 1, new QTableWidgetItem(c.DataStreams.at(i).Details));
    }
    d->ng->resizeColumnToContents(0);
}

void TFormFileInfo::onSelectorChanged()
{
    // The record of the shown file is at hand: choosing a stream needs no
    // second analysis.
    if (d->filling || !d->hasInfo)
        return;
    UpdateList(
        d->info, d->cbAudioStreamNo->currentIndex() + 1, d->cbVideoStreamNo->currentIndex() + 1);
}

void TFormFileInfo::withReport(std::function<void(const QString &)> use)
{
    if (!d->hasInfo)
        return;
    const QString file = d->info.FileName;
    const QString ffmpeg = d->ffmpeg;
    const QString mediaInfo = d->mediaInfoDll;
    const TFileInfoModuleStrings strings = d->strings.FileInfo;
    const QString webSite = d->webSite;
    d->jobs.run(
        BackgroundJobs::EveryJob,
        [file, ffmpeg, mediaInfo, strings, webSite](BackgroundJob &job) {
            try {
                return GetInfoAsText(
                    file, ffmpeg, mediaInfo, strings, webSite, nullptr, &job.runner());
            } catch (const ConsoleRunError &) {
                return QString();
            }
        },
        [this, use](const QString &report) {
            if (!report.isEmpty())
                use(report);
            if (!isBusy())
                Q_EMIT idle();
        });
}

void TFormFileInfo::copyReport()
{
    withReport([this](const QString &report) {
        QApplication::clipboard()->setText(report);
        Q_EMIT reportCopied();
    });
}

void TFormFileInfo::saveReport()
{
    if (!d->hasInfo)
        return;
    const QString proposed = ProposedInfoReportName(d->info.FileName);
    const QString filter
        = DialogFilter(d->strings.FileInfo.dlgSaveFilter, QStringLiteral("*.txt *.TXT"));
    QFileDialog dialog(this, WithoutMnemonic(d->strings.FileInfo.actSave));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString target = dialog.selectedFiles().first();
    withReport([this, target](const QString &report) {
        QString error;
        if (!SaveInfoReport(target, report, &error))
            ShowPlainMessage(this, QMessageBox::Critical, windowTitle(), error);
    });
}

void TFormFileInfo::openPath(const QString &path)
{
    if (!path.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
