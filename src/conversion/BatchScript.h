#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <variant>
#include <vector>

// ".bat" for the Windows command interpreter, ".sh" for a POSIX shell.
enum class BatchScriptFormat { Bat, Sh };

// By the file name the user chose: ".bat" (any letter case) is a Windows
// script, anything else a shell script.
BatchScriptFormat BatchScriptFormatOf(const QString &fileName);

// The name the save dialog's answer stands for: a name ending in ".sh" or
// ".bat" (any letter case) as it is, any other with the extension of the
// file type chosen in the dialog appended ("convert" with the shell-script
// type: "convert.sh").
QString BatchScriptFileNameFor(const QString &chosenName, BatchScriptFormat chosenType);

class FileIdentitySet;

// Why a script must not be saved as fileName, or empty when it may: it is
// one of the listed files (the same file under any name or link), or it exists
// and is not a regular file (a folder, a device, a pipe), which saving
// would replace.
QString BatchScriptTargetProblem(const QString &fileName, const FileIdentitySet *inputs);

// The six pieces of one file, trimmed, named after their script variables.
struct BatchPieces
{
    QString VCodec; // GetVideoCodecStr
    QString ACodec; // GetAudioCodecStr
    QString AdvParams; // GetAdvancedParamsStr
    QString AddParams; // GetAdditionalParamsStr
    QString VParams; // GetVideoParamsStr
    QString AParams; // GetAudioParamsStr
};

class FinishedBatchScript;

// Collects the batch lines of a batch-only run while the driver walks the
// rows. Only a walk that ended as it should (after the last row, or on
// abort) gives a script that can be saved: call finish() there. A run that
// ends early (FFmpeg missing, no checked row, an output folder that cannot
// be created, an "ERROR" piece) simply never calls it, so nothing is saved.
class BatchScript
{
public:
    // "@echo off" and "set ffmpeg=" with the FFmpeg path.
    explicit BatchScript(const QString &ffmpegPath);

    // The lines of one file before its command: the four codec and parameter
    // variables, an empty line, the header with FileNo (which counts skipped
    // rows too), the video and audio parameter variables.
    void addPieces(int FileNo, const BatchPieces &pieces);
    // The command line of one pass (passNo 0 for a one-pass file, else 1 or
    // 2); the H.264 preset goes between AdvParams and AddParams.
    void addCommand(
        const QString &inputFile, const QString &outputFile, bool h264Preset, int passNo);
    void addSinglePass(const QString &inputFile, const QString &outputFile, bool h264Preset);
    // The commands of pass 1 and pass 2.
    void addTwoPass(const QString &inputFile, const QString &outputFile, bool h264Preset);

    // The end of the walk: an empty line and the closing pause.
    FinishedBatchScript finish() const;

    struct Pieces
    {
        int FileNo = 0;
        BatchPieces pieces;
    };
    struct Command
    {
        QString InputFile;
        QString OutputFile;
        bool H264Preset = false;
        int PassNo = 0; // 0 for a single pass, else 1 or 2
    };
    // A folder the commands after it write into, made before them.
    struct Folder
    {
        QString Path;
    };
    using Item = std::variant<Pieces, Command, Folder>;
    void addFolder(const QString &path) { m_items.emplace_back(Folder{path}); }

    // One pass as its file's plan gives it.
    void addCommand(const Command &command);

private:
    QString m_ffmpegPath;
    std::vector<Item> m_items;
};

// One pass of one file as a self-contained POSIX shell command, quoted as
// the shell script quotes: FFmpeg's path and the file names in single
// quotes (a name starting with "-" gets "./"), the pieces written word by
// word as the program splits them, each word bare when the shell leaves it
// alone, else in single quotes. The shell passes FFmpeg the run's
// arguments.
QString ShellCommandText(
    const QString &ffmpegPath, const BatchPieces &pieces, const BatchScript::Command &command);

// A complete script, ready to be rendered or saved.
class FinishedBatchScript
{
public:
    // The lines of the Windows script, exactly as the command interpreter
    // reads them ("%" in paths doubled, so that it stays a "%").
    QStringList batLines() const;
    // The lines of the POSIX shell script: single-quoted paths, one
    // variable per piece, the same joints. Any file name arrives unchanged.
    QStringList shLines() const;
    QStringList lines(BatchScriptFormat format) const;
    // UTF-8 without byte-order mark; CR LF line ends for ".bat", LF for ".sh".
    QByteArray render(BatchScriptFormat format) const;

    // Writes the script in the format its name asks for, replacing the file
    // atomically; a shell script gets its run bits. What is not a regular
    // file is never replaced. On failure errorText says why.
    bool save(const QString &fileName, QString *errorText = nullptr) const;

private:
    friend class BatchScript;
    FinishedBatchScript(QString ffmpegPath, std::vector<BatchScript::Item> items);

    QString m_ffmpegPath;
    std::vector<BatchScript::Item> m_items;
};
