#include "ui/common/Theme.h"

#include <QApplication>
#include <QEvent>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

namespace {

const QString FusionStyle = QStringLiteral("Fusion");

QPalette darkPalette()
{
    const QColor window(53, 53, 53), base(36, 36, 36), text(232, 232, 232);
    const QColor disabledText(128, 128, 128), highlight(42, 130, 218);
    QPalette p;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, QColor(46, 46, 46));
    p.setColor(QPalette::ToolTipBase, window);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, disabledText);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, QColor(255, 90, 90));
    p.setColor(QPalette::Light, QColor(80, 80, 80));
    p.setColor(QPalette::Midlight, QColor(66, 66, 66));
    p.setColor(QPalette::Mid, QColor(44, 44, 44));
    p.setColor(QPalette::Dark, QColor(30, 30, 30));
    p.setColor(QPalette::Shadow, QColor(16, 16, 16));
    p.setColor(QPalette::Highlight, highlight);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(92, 164, 240));
    p.setColor(QPalette::LinkVisited, QColor(170, 130, 230));
    for (QPalette::ColorRole role :
        {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::HighlightedText})
        p.setColor(QPalette::Disabled, role, disabledText);
    p.setColor(QPalette::Disabled, QPalette::Base, window);
    p.setColor(QPalette::Disabled, QPalette::Highlight, QColor(80, 80, 80));
    // Fusion embosses disabled text with Light in some places; on a dark
    // face that shows as a bright ghost.
    p.setColor(QPalette::Disabled, QPalette::Light, window);
    return p;
}

// The glyph's shape (its alpha) filled with the palette colour of the mode.
class TintedIconEngine : public QIconEngine
{
public:
    explicit TintedIconEngine(const QIcon &glyph)
        : m_glyph(glyph)
    { }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap shape = m_glyph.pixmap(size, QIcon::Normal, state);
        if (shape.isNull())
            return shape;
        const QPalette palette = QApplication::palette();
        const QColor face = palette.color(QPalette::Button);
        const QColor ink = palette.color(QPalette::ButtonText);
        QPainter p(&shape);
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(shape.rect(), mode == QIcon::Disabled ? HalfwayColor(ink, face) : ink);
        return shape;
    }

    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return m_glyph.actualSize(size, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return m_glyph.availableSizes(mode, state);
    }

    QIconEngine *clone() const override { return new TintedIconEngine(m_glyph); }

private:
    QIcon m_glyph;
};

class DimmedTextFollower : public QObject
{
public:
    using QObject::QObject;

    static void apply(QWidget *widget)
    {
        const QColor dimmed
            = DimmedTextColor(widget->palette(), QPalette::WindowText, QPalette::Window);
        // Setting the colour sends another PaletteChange: stop there.
        if (widget->palette().color(QPalette::PlaceholderText) == dimmed)
            return;
        QPalette p = widget->palette();
        p.setColor(QPalette::PlaceholderText, dimmed);
        widget->setPalette(p);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::PaletteChange)
            apply(static_cast<QWidget *>(watched));
        return false;
    }
};

} // namespace

void ApplyTheme(AppTheme theme)
{
    // The platform's own style, noted before the first change: System
    // returns to it.
    static const QString platformStyle = QApplication::style()->name();
    static bool changed = false;
    if (theme == AppTheme::System && !changed)
        return;
    changed = true;

    const QString styleName = theme == AppTheme::System ? platformStyle : FusionStyle;
    if (QApplication::style()->name().compare(styleName, Qt::CaseInsensitive) != 0)
        QApplication::setStyle(QStyleFactory::create(styleName));
    switch (theme) {
    case AppTheme::Dark:
        QApplication::setPalette(darkPalette());
        break;
    case AppTheme::Light:
        QApplication::setPalette(QApplication::style()->standardPalette());
        break;
    case AppTheme::System:
        // A palette with no role of its own: the platform theme's.
        QApplication::setPalette(QPalette());
        break;
    }
}

QColor ColorFromBgr(uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

bool IsDarkPalette(const QPalette &palette, QPalette::ColorRole background)
{
    return palette.color(background).lightness() < 128;
}

void CentreOver(QWidget *window, const QWidget *owner)
{
    window->move(owner->frameGeometry().center() - window->rect().center());
}

QColor BlendColors(const QColor &a, const QColor &b, qreal amount)
{
    const auto mix = [amount](float x, float y) { return x + (y - x) * float(amount); };
    const QColor ra = a.toRgb(), rb = b.toRgb();
    return QColor::fromRgbF(
        mix(ra.redF(), rb.redF()), mix(ra.greenF(), rb.greenF()), mix(ra.blueF(), rb.blueF()));
}

QColor PlainHighlightColor(const QPalette &palette)
{
    return BlendColors(palette.color(QPalette::Window), palette.color(QPalette::WindowText), 0.25);
}

QColor HalfwayColor(const QColor &a, const QColor &b)
{
    return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
}

QColor DimmedTextColor(
    const QPalette &palette, QPalette::ColorRole text, QPalette::ColorRole background)
{
    return HalfwayColor(palette.color(text), palette.color(background));
}

QIcon PaletteTintedIcon(const QIcon &glyph)
{
    return glyph.isNull() ? glyph : QIcon(new TintedIconEngine(glyph));
}

bool IsGreyGlyph(const QIcon &icon)
{
    constexpr int Side = 24, MinAlpha = 32, MaxSaturation = 40;
    const QImage image = icon.pixmap(Side).toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() >= MinAlpha && c.hsvSaturation() > MaxSaturation)
                return false;
        }
    return !image.isNull();
}

void UseDimmedText(QWidget *widget)
{
    widget->setForegroundRole(QPalette::PlaceholderText);
    widget->installEventFilter(new DimmedTextFollower(widget));
    DimmedTextFollower::apply(widget);
}
