#pragma once

#include <QString>
#include <cstdint>
#include <optional>

struct TAppStrings;

// The words of the progress status line, in the program's language.
struct StatusLineWords
{
    StatusLineWords() = default;
    explicit StatusLineWords(const TAppStrings &strings);

    QString convertingFile;
    QString pass;
    QString speed;
    QString framesPerSecond;
    QString frame;
    QString progress;
};

// What the status line tells of one moment of a conversion.
struct StatusLineFacts
{
    int FileNo = 0;
    int FileCount = 0;
    int PassNo = 0;
    bool AudioOnly = false;
    bool TwoPass = false;
    int FrameCount = 0;
    int64_t TotalFrames = 0;
    // FFmpeg's speed figure ("2.05x") as printed, when it printed one.
    std::optional<QString> Speed;
    QString FrameRate;
    // The output's size as shown: a formatted byte count (SizeInBytes) or
    // FFmpeg's own text.
    QString Size;
    bool SizeInBytes = false;
    int Percentage = 0; // 0..100
};

// The speed figure on its coloured badge.
QString SpeedMarkup(const QString &speed);
// A byte count in bold; FFmpeg's own text escaped.
QString SizeMarkup(const QString &size, bool inBytes);
// The progress window's status label: files, pass badge, speed, frames and
// size, each field kept from wrapping inside.
QString StatusLineMarkup(const StatusLineFacts &facts, const StatusLineWords &words);
// The same facts as one line of plain text, for the terminal.
QString StatusLinePlain(const StatusLineFacts &facts, const StatusLineWords &words);
