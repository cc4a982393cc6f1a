#pragma once

#include "settings/SettingsFile.h"

#include <QColor>
#include <QIcon>
#include <QPalette>
#include <cstdint>

class QWidget;

// The program's look and the colours derived from the palette, so that
// every window reads in a light and in a dark palette alike.

// Dark: Fusion with a dark palette; Light: Fusion with its standard
// palette; System: the style and palette the platform gives (also after a
// Light or Dark chosen earlier). Every window follows at once.
void ApplyTheme(AppTheme theme);

// A colour stored as 0x00BBGGRR (profiles, TAppParams).
QColor ColorFromBgr(uint32_t bgr);
// Whether the palette is a dark one: its background role (Base for views,
// Window for a window's face) darker than mid-grey.
bool IsDarkPalette(const QPalette &palette, QPalette::ColorRole background = QPalette::Base);
// Moves window so that it stands centred over owner's frame.
void CentreOver(QWidget *window, const QWidget *owner);

// a moved towards b by amount (0..1).
QColor BlendColors(const QColor &a, const QColor &b, qreal amount);
// Halfway between two colours.
QColor HalfwayColor(const QColor &a, const QColor &b);
// The background of a highlight without a text colour of its own (a
// skipped file's folder): the window face a quarter towards its text.
QColor PlainHighlightColor(const QPalette &palette);
// Secondary text (comments, hints): halfway from the text to its
// background, dim yet readable on either palette. The roles name the pair:
// Text on Base in views, WindowText on Window on a window's face.
QColor DimmedTextColor(const QPalette &palette, QPalette::ColorRole text = QPalette::Text,
    QPalette::ColorRole background = QPalette::Base);

// A glyph drawn in the current palette's ButtonText (a mix towards Button
// when disabled), whatever colour its picture has: an outline or dark
// picture reads as enabled or disabled on a light and a dark face alike.
QIcon PaletteTintedIcon(const QIcon &glyph);
// Whether the icon's visible pixels are all grey (black, white or between):
// a glyph drawn in one colour rather than a coloured picture.
bool IsGreyGlyph(const QIcon &icon);

// Shows the widget's text (foreground role PlaceholderText) in
// DimmedTextColor of WindowText on Window, again at each palette change.
void UseDimmedText(QWidget *widget);
