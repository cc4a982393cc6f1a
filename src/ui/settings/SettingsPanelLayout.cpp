#include "ui/settings/SettingsPanelLayout.h"

#include "ui/common/ScrollAreas.h"
#include "ui/common/Theme.h"
#include "ui/settings/ProfileComboBox.h"
#include "ui/settings/SettingWidgets.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Captions come from the catalogue by object name (SetLang); units and
// other technical texts are fixed here.
QLabel *label(const char *name, QWidget *parent, const QString &fixedText = {})
{
    auto *l = new QLabel(fixedText, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

// A label for a control: keyboard users reach the control through it.
QLabel *labelFor(const char *name, QWidget *buddy, QWidget *parent)
{
    QLabel *l = label(name, parent);
    l->setBuddy(buddy);
    return l;
}

QToolButton *infoButton(
    const char *name, const char *themeIcon, QStyle::StandardPixmap fallback, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setIcon(QIcon::fromTheme(QLatin1String(themeIcon), parent->style()->standardIcon(fallback)));
    b->setAutoRaise(true);
    return b;
}

QToolButton *sectionMenuButton(const char *name, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setPopupMode(QToolButton::InstantPopup);
    b->setArrowType(Qt::DownArrow);
    b->setAutoRaise(true);
    // The arrow is the button; a second indicator beside it says nothing.
    b->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0px; }"));
    return b;
}

// A section: a bold title with its drop-down button, then the content.
QFrame *section(
    const char *titleName, QToolButton *menuButton, QWidget *parent, QVBoxLayout **content)
{
    auto *frame = new QFrame(parent);
    frame->setFrameShape(QFrame::StyledPanel);
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(8, 4, 8, 8);
    auto *header = new QHBoxLayout;
    QLabel *title = label(titleName, frame);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    // A long title wraps: the section is as wide as its controls need.
    title->setWordWrap(true);
    title->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    header->addWidget(title, 1);
    menuButton->setParent(frame);
    header->addWidget(menuButton);
    layout->addLayout(header);
    *content = layout;
    return frame;
}

// One row of a form of three columns (label, control, unit): a labelled
// setting, a check box across the row (no label), or a text under the
// controls (no control).
struct FormRow
{
    const char *label;
    const char *control;
    const char *unit = nullptr; // the unit label's name
    const char *unitText = ""; // fixed: not translated
    bool wide = false; // the control takes the unit's column too
};

QGridLayout *form(SettingWidgets &c, QWidget *parent, std::initializer_list<FormRow> rows)
{
    auto *g = new QGridLayout(parent);
    int row = 0;
    for (const FormRow &r : rows) {
        if (!r.label) {
            g->addWidget(c.create(QLatin1String(r.control), parent), row, 0, 1, 3);
        } else if (!r.control) {
            QLabel *text = label(r.label, parent);
            UseDimmedText(text);
            text->setTextInteractionFlags(Qt::TextSelectableByMouse);
            text->setWordWrap(true);
            g->addWidget(text, row, 1, 1, 2);
        } else {
            QWidget *control = c.create(QLatin1String(r.control), parent);
            g->addWidget(labelFor(r.label, control, parent), row, 0);
            g->addWidget(control, row, 1, 1, r.wide ? 2 : 1);
            if (r.unit)
                g->addWidget(label(r.unit, parent, QLatin1String(r.unitText)), row, 2);
        }
        ++row;
    }
    g->setColumnStretch(1, 1);
    g->setRowStretch(row, 1);
    return g;
}

QWidget *page(const char *name, QWidget *parent)
{
    auto *p = new QWidget(parent);
    p->setObjectName(QLatin1String(name));
    return p;
}

QWidget *aviPage(SettingWidgets &c, QWidget *parent)
{
    QWidget *p = page("tsAvi", parent);
    // A hidden row (threads, for H.264 only) takes no room.
    form(c, p,
        {{"lblAviVideoCodec", "cbAviVideoCodec", nullptr, "", true},
            {"lblAviVideoThreads", "cbAviVideoThreads"},
            {"lblAviVideoBitrate", "cbAviVideoBitrate", "lblAviVideoKbps", "kbit/s"},
            {"lblAviVideoFPS", "cbAviVideoFPS"}, {"lblAviVideoAspect", "cbAviVideoAspect"},
            {nullptr, "chAviVideo2Pass"}, {nullptr, "chAviVideoDontCopy"}});
    return p;
}

QWidget *mpgPage(SettingWidgets &c, QWidget *parent)
{
    QWidget *p = page("tsMpg", parent);
    form(c, p,
        {{"lblMpgVideo", "cbMpgVideo", nullptr, "", true}, {"lblMpgInfo", nullptr},
            {"lblMpegVersion", "cbMpegVersion"},
            {"lblMpgVideoBitrate", "cbMpgVideoBitrate", "lblMpgVideoKbps", "kbit/s"},
            {"lblMpgVideoFPS", "cbMpgVideoFPS"}, {nullptr, "chMpgVideo2Pass"},
            {nullptr, "chMpgVideoDontCopy"}});
    return p;
}

QWidget *audioContent(SettingWidgets &c, SettingsPanelParts &parts, QWidget *parent)
{
    auto *w = new QWidget(parent);
    QGridLayout *g = form(c, w,
        {{"lblAudioCodec", "cbAudioCodec", nullptr, "", true},
            {"lblAudioBitrate", "cbAudioBitrate", "lblAudioKbps", "kbit/s"},
            {"lblAudioSampling", "cbAudioSampling", "lblAudioHz", "Hz"},
            {"lblAudioChannels", "cbAudioChannels"},
            {"lblAudioVolumeInfo", "tbAudioVolume", "lblAudioVolume"},
            {nullptr, "chAudioDontCopy"}});
    g->setContentsMargins(0, 0, 0, 0);
    auto *factor = w->findChild<QLabel *>(QStringLiteral("lblAudioVolume"));
    // Wide enough for "3.00x", so the track bar keeps its length.
    factor->setMinimumWidth(factor->fontMetrics().horizontalAdvance(QStringLiteral("3.00x ")));
    parts.btnInfoAudioBitrates = infoButton(
        "btnInfoAudioBitrates", "dialog-information", QStyle::SP_MessageBoxInformation, w);
    // The bulb beside the check box, never over its text.
    auto *dontCopy = w->findChild<QWidget *>(QStringLiteral("chAudioDontCopy"));
    g->removeWidget(dontCopy);
    auto *row = new QHBoxLayout;
    row->addWidget(dontCopy, 1);
    row->addWidget(parts.btnInfoAudioBitrates);
    g->addLayout(row, 5, 0, 1, 3);
    return w;
}

// Labelled spin boxes, two to a row from firstRow on, kept at their size.
void addPairs(SettingWidgets &c, QGridLayout *g, int firstRow,
    std::initializer_list<std::pair<const char *, const char *>> pairs)
{
    QWidget *parent = g->parentWidget();
    int i = 0;
    for (const auto &[labelName, control] : pairs) {
        QWidget *spin = c.create(QLatin1String(control), parent);
        g->addWidget(labelFor(labelName, spin, parent), firstRow + i / 2, (i % 2) * 2);
        g->addWidget(spin, firstRow + i / 2, (i % 2) * 2 + 1);
        ++i;
    }
    g->setColumnStretch(4, 1);
}

QWidget *advancedLeft(SettingWidgets &c, SettingsPanelParts &parts, QWidget *parent)
{
    auto *w = new QWidget(parent);
    auto *v = new QVBoxLayout(w);
    v->setContentsMargins(0, 0, 0, 0);

    auto *top = new QGridLayout;
    QWidget *track = c.create("cbAudioTrackNo", w);
    QWidget *interlacing = c.create("cbInterlacing", w);
    top->addWidget(labelFor("lblAudioTrackNo", track, w), 0, 0, 1, 3);
    top->addWidget(track, 1, 0, 1, 3);
    top->addWidget(labelFor("lblInterlacing", interlacing, w), 2, 0);
    top->addWidget(interlacing, 2, 1, 1, 2);
    auto *tag = qobject_cast<QComboBox *>(c.create("cbVideoTag", w));
    tag->lineEdit()->setMaxLength(4); // a tag has four characters
    // The check box above its tag: side by side, a long caption would
    // widen the column past the section.
    top->addWidget(c.create("chVideoFourcc", w), 3, 0, 1, 3);
    top->addWidget(tag, 4, 0, 1, 2);
    parts.btnInfoFourcc
        = infoButton("btnInfoFourcc", "internet-web-browser", QStyle::SP_MessageBoxInformation, w);
    top->addWidget(parts.btnInfoFourcc, 4, 2);
    top->setColumnStretch(1, 1);
    v->addLayout(top);

    auto *resolution = new QGroupBox(w);
    resolution->setObjectName(QStringLiteral("gbResolution"));
    auto *rg = new QGridLayout(resolution);
    rg->addWidget(c.create("cbResolution", resolution), 0, 0, 1, 5);
    addPairs(c, rg, 1, {{"lblResWidth", "spedResWidth"}, {"lblResHeight", "spedResHeight"}});
    v->addWidget(resolution);

    auto *cropping = new QGroupBox(w);
    cropping->setObjectName(QStringLiteral("gbCropping"));
    addPairs(c, new QGridLayout(cropping), 0,
        {{"lblCropTop", "spedCropTop"}, {"lblCropBottom", "spedCropBottom"},
            {"lblCropLeft", "spedCropLeft"}, {"lblCropRight", "spedCropRight"}});
    v->addWidget(cropping);
    v->addStretch(1);
    return w;
}

QWidget *advancedRight(SettingWidgets &c, SettingsPanelParts &parts, QWidget *parent)
{
    auto *w = new QWidget(parent);
    auto *v = new QVBoxLayout(w);
    v->setContentsMargins(0, 0, 0, 0);

    auto *filters = new QGridLayout;
    filters->addWidget(c.create("chBrightness", w), 0, 0);
    filters->addWidget(c.create("tbBrightness", w), 0, 1);
    filters->addWidget(label("lblBrightnessValue", w), 0, 2);
    filters->addWidget(c.create("chSaturation", w), 1, 0);
    filters->addWidget(c.create("tbSaturation", w), 1, 1);
    filters->addWidget(label("lblSaturationValue", w), 1, 2);
    filters->addWidget(c.create("chRotate", w), 2, 0);
    filters->addWidget(c.create("cbRotate", w), 2, 1, 1, 2);
    filters->addWidget(c.create("chConvertColors", w), 3, 0);
    filters->addWidget(c.create("cbConvertColors", w), 3, 1, 1, 2);
    const int valueWidth = w->fontMetrics().horizontalAdvance(QStringLiteral("-1.5 "));
    filters->setColumnMinimumWidth(2, valueWidth);
    filters->setColumnStretch(1, 1);
    v->addLayout(filters);

    // One below the other: side by side, long translations would widen
    // the column past the section.
    for (const char *flip : {"chFlipHorizontal", "chFlipVertical", "chNegative"})
        v->addWidget(c.create(QLatin1String(flip), w));

    auto *paramsHeader = new QHBoxLayout;
    auto *memo = qobject_cast<QPlainTextEdit *>(c.create("meParams", w));
    QLabel *paramsLabel = labelFor("gbFFmpegParams", memo, w);
    paramsLabel->setWordWrap(true);
    paramsHeader->addWidget(paramsLabel, 1);
    parts.btnFFParams = infoButton("btnFFParams", "help-contents", QStyle::SP_DialogHelpButton, w);
    paramsHeader->addWidget(parts.btnFFParams);
    v->addLayout(paramsHeader);
    memo->setMinimumHeight(memo->fontMetrics().lineSpacing() * 3 + 12);
    v->addWidget(memo, 1);
    return w;
}

// The advanced settings in two columns where the box is wide enough, one
// below the other where it is not; never a sideways scroll: the box is at
// least as wide as the wider column.
class AdvancedArea : public VerticalScrollArea
{
public:
    using VerticalScrollArea::VerticalScrollArea;

    void setColumns(QBoxLayout *columns) { m_columns = columns; }

protected:
    int contentsMinimumWidth() const override
    {
        const QMargins margins = m_columns->contentsMargins();
        int widest = 0;
        for (int i = 0; i < m_columns->count(); ++i)
            if (QWidget *w = m_columns->itemAt(i)->widget())
                widest = std::max(widest, w->minimumSizeHint().width());
        return widest + margins.left() + margins.right();
    }

    void resizeEvent(QResizeEvent *event) override
    {
        int sideBySide = m_columns->spacing() * (m_columns->count() - 1);
        for (int i = 0; i < m_columns->count(); ++i)
            if (QWidget *w = m_columns->itemAt(i)->widget())
                sideBySide += w->minimumSizeHint().width();
        const QMargins margins = m_columns->contentsMargins();
        sideBySide += margins.left() + margins.right();
        // Side by side the columns usually need no scroll bar: only a shown
        // one takes room.
        const int width = event->size().width()
            - (verticalScrollBar()->isVisible() ? verticalScrollBar()->sizeHint().width() : 0);
        m_columns->setDirection(
            width >= sideBySide ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
        VerticalScrollArea::resizeEvent(event);
    }

private:
    QBoxLayout *m_columns = nullptr;
};

} // namespace

SettingsPanelParts BuildSettingsPanel(QWidget *panel, SettingWidgets &c)
{
    SettingsPanelParts parts;
    auto *outer = new QVBoxLayout(panel);
    outer->setContentsMargins(0, 0, 0, 0);

    auto *header = new QHBoxLayout;
    parts.expandButton = new QToolButton(panel);
    parts.expandButton->setObjectName(QStringLiteral("pnConversionSettings"));
    parts.expandButton->setCheckable(true);
    parts.expandButton->setChecked(true);
    parts.expandButton->setAutoRaise(true);
    parts.expandButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QFont bold = parts.expandButton->font();
    bold.setBold(true);
    parts.expandButton->setFont(bold);
    header->addWidget(parts.expandButton);
    header->addStretch(1);
    parts.cbProfileNew = new ProfileComboBox(panel);
    header->addWidget(labelFor("lblProfile", parts.cbProfileNew, panel));
    header->addWidget(parts.cbProfileNew, 0);
    parts.btnLoadSelectedProfile = new QToolButton(panel);
    parts.btnLoadSelectedProfile->setObjectName(QStringLiteral("btnLoadSelectedProfile"));
    header->addWidget(parts.btnLoadSelectedProfile);
    outer->addLayout(header);

    parts.body = new QWidget(panel);
    parts.body->setObjectName(QStringLiteral("pnConversionSettingsBody"));
    auto *sections = new QHBoxLayout(parts.body);
    sections->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(parts.body, 1);

    QVBoxLayout *content = nullptr;
    parts.sbtnVideoSettings = sectionMenuButton("sbtnVideoSettings", panel);
    QFrame *video
        = section("lblOutputFormatVideoSettings", parts.sbtnVideoSettings, parts.body, &content);
    parts.pcVideoFormat = new QTabWidget(video);
    c.adopt("pcVideoFormat", parts.pcVideoFormat);
    parts.pcVideoFormat->addTab(aviPage(c, parts.pcVideoFormat), QStringLiteral("AVI"));
    parts.pcVideoFormat->addTab(mpgPage(c, parts.pcVideoFormat), QStringLiteral("MPG"));
    content->addWidget(parts.pcVideoFormat, 1);
    sections->addWidget(video);

    parts.sbtnAudioSettings = sectionMenuButton("sbtnAudioSettings", panel);
    QFrame *audio = section("lblAudioSettings", parts.sbtnAudioSettings, parts.body, &content);
    content->addWidget(audioContent(c, parts, audio), 1);
    sections->addWidget(audio);

    parts.sbtnAdvancedSettings = sectionMenuButton("sbtnAdvancedSettings", panel);
    QFrame *advanced
        = section("lblAdvancedSettings", parts.sbtnAdvancedSettings, parts.body, &content);
    auto *area = new AdvancedArea(advanced);
    parts.sboxAdvanced = area;
    parts.sboxAdvanced->setObjectName(QStringLiteral("sboxAdvanced"));
    parts.sboxAdvanced->setWidgetResizable(true);
    parts.sboxAdvanced->setFrameShape(QFrame::NoFrame);
    parts.sboxAdvanced->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A container, not a control: Tab goes to the settings inside it.
    parts.sboxAdvanced->setFocusPolicy(Qt::NoFocus);
    auto *inner = new QWidget(parts.sboxAdvanced);
    auto *columns = new QHBoxLayout(inner);
    columns->setContentsMargins(0, 0, 4, 0);
    columns->addWidget(advancedLeft(c, parts, inner), 1);
    columns->addWidget(advancedRight(c, parts, inner), 1);
    area->setColumns(columns);
    parts.sboxAdvanced->setWidget(inner);
    // The advanced settings scroll in the height the other two sections
    // need, so that the file list above keeps the room.
    parts.sboxAdvanced->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
    content->addWidget(parts.sboxAdvanced, 1);
    sections->addWidget(advanced, 1);
    return parts;
}
