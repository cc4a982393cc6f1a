#include "ui/common/Theme.h"
#include "conversion/ConversionFrontEnd.h"
#include "ui/conversion/ErrorLogWindow.h"
#include "ui/conversion/MarkupLabel.h"
#include "ui/conversion/ProgressWindow.h"

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStyle>
#include <QTextBlock>
#include <QTextLayout>
#include <cmath>
#include <gtest/gtest.h>

namespace {

int lightnessGap(const QColor &a, const QColor &b)
{
    return std::abs(a.lightness() - b.lightness());
}

// The contrast ratio of the web's accessibility guidelines, 1 to 21; 3 is
// their least for text that must still be read.
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto channel = [](float v) {
            return v <= 0.03928f ? v / 12.92f : std::pow((v + 0.055f) / 1.055f, 2.4f);
        };
        const QColor rgb = c.toRgb();
        return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF())
            + 0.0722 * channel(rgb.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Every test leaves the platform's look behind it.
class Theme : public ::testing::Test
{
protected:
    ~Theme() override { ApplyTheme(AppTheme::System); }
};

} // namespace

TEST_F(Theme, DarkAndLightChooseTheirPaletteAndSystemReturnsToThePlatform)
{
    const QColor platformWindow = QApplication::palette().color(QPalette::Window);
    const QString platformStyle = QApplication::style()->name();

    ApplyTheme(AppTheme::Dark);
    EXPECT_LT(QApplication::palette().color(QPalette::Window).lightness(), 128);
    EXPECT_GT(lightnessGap(QApplication::palette().color(QPalette::WindowText),
                  QApplication::palette().color(QPalette::Window)),
        128);
    EXPECT_EQ(QApplication::style()->name().toLower(), u"fusion");

    ApplyTheme(AppTheme::Light);
    EXPECT_GT(QApplication::palette().color(QPalette::Window).lightness(), 128);
    EXPECT_EQ(QApplication::style()->name().toLower(), u"fusion");

    ApplyTheme(AppTheme::System);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), platformWindow);
    EXPECT_EQ(QApplication::style()->name(), platformStyle);
}

TEST_F(Theme, SecondaryTextsAndTheSkippedFolderReadInADarkPalette)
{
    TFormProgress progress;
    TFormErrors errors;
    QLabel hint;
    UseDimmedText(&hint);
    ApplyTheme(AppTheme::Dark);
    // Some desktops' dark palettes give placeholder text hardly apart
    // from the background; nothing may rely on that role.
    QPalette dark = QApplication::palette();
    dark.setColor(QPalette::PlaceholderText, QColor(60, 60, 60));
    QApplication::setPalette(dark);
    // The windows take a new palette from posted events.
    QCoreApplication::processEvents();

    // The skipped file's folder: the label's text on a shade of its face.
    ConversionFileView skipped;
    skipped.OutputMarkup = QStringLiteral("<font bgcolor=\"#C0C0C0\">/v/</font><b>a.avi</b>");
    progress.fileSkipped(skipped);
    const auto *output = progress.findChildren<MarkupLabel *>().at(0);
    ASSERT_LT(output->palette().color(QPalette::Window).lightness(), 128);
    const QRegularExpressionMatch background
        = QRegularExpression(QStringLiteral("background-color:(#[0-9a-f]{6})"))
              .match(output->text());
    ASSERT_TRUE(background.hasMatch()) << output->text().toStdString();
    EXPECT_GE(
        contrast(QColor(background.captured(1)), output->palette().color(QPalette::WindowText)),
        3.0);

    // The error log's separator lines.
    errors.addEntry({QStringLiteral("// 1. a.mkv"), QStringLiteral("Error while opening")});
    auto *view = errors.findChild<QPlainTextEdit *>();
    ASSERT_TRUE(view);
    bool sawComment = false;
    for (QTextBlock block = view->document()->firstBlock(); block.isValid(); block = block.next()) {
        if (!block.text().startsWith(u"//"))
            continue;
        const QList<QTextLayout::FormatRange> ranges = block.layout()->formats();
        ASSERT_FALSE(ranges.isEmpty());
        EXPECT_GE(contrast(ranges.first().format.foreground().color(),
                      view->palette().color(QPalette::Base)),
            3.0);
        sawComment = true;
    }
    EXPECT_TRUE(sawComment);

    // A hint line on the window's face (the MPG user settings).
    EXPECT_GE(contrast(hint.palette().color(hint.foregroundRole()),
                  hint.palette().color(QPalette::Window)),
        3.0);
}

namespace {

// The colour of the icon's middle pixel in the given mode.
QColor middle(const QIcon &icon, QIcon::Mode mode)
{
    return icon.pixmap(16, mode).toImage().pixelColor(8, 8);
}

QIcon filled(const QColor &colour)
{
    QPixmap square(16, 16);
    square.fill(colour);
    return QIcon(square);
}

} // namespace

TEST_F(Theme, ADarkGlyphReadsAsEnabledOrDisabledOnEitherFace)
{
    const QIcon glyph = PaletteTintedIcon(filled(Qt::black));
    EXPECT_TRUE(IsGreyGlyph(filled(Qt::black)));
    EXPECT_TRUE(IsGreyGlyph(filled(QColor(200, 200, 200))));
    EXPECT_FALSE(IsGreyGlyph(filled(QColor(36, 98, 200))));

    for (AppTheme theme : {AppTheme::Dark, AppTheme::Light}) {
        SCOPED_TRACE(ThemeText(theme).toStdString());
        ApplyTheme(theme);
        const QColor face = QApplication::palette().color(QPalette::Button);
        const QColor enabled = middle(glyph, QIcon::Normal);
        const QColor disabled = middle(glyph, QIcon::Disabled);
        EXPECT_GE(contrast(enabled, face), 7.0);
        // Disabled stands apart from both: dimmer than enabled, not gone.
        EXPECT_GE(contrast(enabled, disabled), 1.8);
        EXPECT_GE(contrast(disabled, face), 1.8);
    }
}
