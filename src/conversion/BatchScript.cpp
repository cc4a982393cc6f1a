#include "conversion/BatchScript.h"

#include "app/SafeSave.h"

#include "encoding/CommandAssembly.h"
#include "encoding/OutputName.h"
#include "process/CommandLine.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <sys/stat.h>
#include <utility>

namespace {

const QString Slashes(33, u'/');

QString fileHeader(int fileNo)
{
    return Slashes + QStringLiteral(" file ") + QString::number(fileNo) + u' ' + Slashes;
}

// What stands between AdvParams and AddParams.
QString joint(const BatchScript::Command &command)
{
    QString text = command.H264Preset ? QLatin1String(PresetOption) : QStringLiteral(" ");
    if (command.PassNo > 0)
        text += QStringLiteral("-pass ") + QString::number(command.PassNo) + u' ';
    return text;
}

// The command interpreter expands "%" even inside double quotes.
QString batPath(const QString &path)
{
    QString text = path;
    return u'"' + text.replace(u'%', QLatin1String("%%")) + u'"';
}

// A path for the shell: single quotes keep everything literal but the
// single quote itself, which ends the quoting, is escaped and reopens it. A
// path that starts with "-" is given a "./" so FFmpeg cannot take it for an
// option.
QString shPath(const QString &path)
{
    QString text = path.startsWith(u'-') ? QStringLiteral("./") + path : path;
    return u'\'' + text.replace(u'\'', QLatin1String("'\\''")) + u'\'';
}

QString shQuote(const QString &text)
{
    QString quoted = text;
    return u'\'' + quoted.replace(u'\'', QLatin1String("'\\''")) + u'\'';
}

// Characters that mean nothing to the shell anywhere in a word.
bool isSafeShellWordChar(QChar c)
{
    return c.unicode() < 128 && (c.isLetterOrNumber() || QStringView(u"_-+=:,./@%^").contains(c));
}

QString shWord(const QString &word)
{
    if (!word.isEmpty() && std::all_of(word.cbegin(), word.cend(), isSafeShellWordChar))
        return word;
    return shQuote(word);
}

// A piece that the shell splits into the same words as the program does:
// no double quotes (which group words) and no separators the shell does not
// know. With "set -f" nothing else in an expanded variable is special.
bool splitsLikeTheProgram(const QString &piece)
{
    for (const QChar c : piece)
        if (c == u'"' || c == u'\r' || c == u'\v' || c == u'\f')
            return false;
    return true;
}

QString shWords(const QString &text)
{
    QStringList words;
    for (const QString &word : splitParamText(text))
        words << shWord(word);
    return words.join(u' ');
}

// One command: the program, the file names and the pieces, each piece as its
// variable (useVariables, in the script) or written out word by word.
QString shCommand(const QString &program, const BatchPieces &pieces, const BatchScript::Command &c,
    bool useVariables)
{
    // Pieces with double quotes are written out word by word, as the
    // program splits them, since the shell would keep the quotes.
    QString middle;
    const bool plain = splitsLikeTheProgram(pieces.VCodec) && splitsLikeTheProgram(pieces.VParams)
        && splitsLikeTheProgram(pieces.ACodec) && splitsLikeTheProgram(pieces.AParams)
        && splitsLikeTheProgram(pieces.AdvParams);
    if (plain && useVariables) {
        middle = QStringLiteral(" $VCodec $VParams $ACodec $AParams $AdvParams") + joint(c);
    } else {
        // The program reads these five and the joint as one text.
        const QString words = shWords(pieces.VCodec + u' ' + pieces.VParams + u' ' + pieces.ACodec
            + u' ' + pieces.AParams + u' ' + pieces.AdvParams + joint(c));
        middle = u' ' + words + (words.isEmpty() ? QString() : QStringLiteral(" "));
    }
    QString add = QStringLiteral("$AddParams ");
    if (!splitsLikeTheProgram(pieces.AddParams) || !useVariables) {
        const QString words = shWords(pieces.AddParams);
        add = words.isEmpty() ? QString() : words + u' ';
    }
    return program + QStringLiteral(" -y -i ") + shPath(c.InputFile) + middle + add
        + shPath(c.OutputFile);
}

} // namespace

QString ShellCommandText(
    const QString &ffmpegPath, const BatchPieces &pieces, const BatchScript::Command &command)
{
    return shCommand(shQuote(ffmpegPath), pieces, command, false);
}

BatchScriptFormat BatchScriptFormatOf(const QString &fileName)
{
    return fileName.endsWith(QLatin1String(".bat"), Qt::CaseInsensitive) ? BatchScriptFormat::Bat
                                                                         : BatchScriptFormat::Sh;
}

QString BatchScriptFileNameFor(const QString &chosenName, BatchScriptFormat chosenType)
{
    if (chosenName.endsWith(QLatin1String(".bat"), Qt::CaseInsensitive)
        || chosenName.endsWith(QLatin1String(".sh"), Qt::CaseInsensitive))
        return chosenName;
    return chosenName
        + (chosenType == BatchScriptFormat::Bat ? QStringLiteral(".bat") : QStringLiteral(".sh"));
}

BatchScript::BatchScript(const QString &ffmpegPath)
    : m_ffmpegPath(ffmpegPath)
{ }

void BatchScript::addPieces(int FileNo, const BatchPieces &pieces)
{
    m_items.emplace_back(Pieces{FileNo, pieces});
}

void BatchScript::addCommand(
    const QString &inputFile, const QString &outputFile, bool h264Preset, int passNo)
{
    addCommand(Command{inputFile, outputFile, h264Preset, passNo});
}

void BatchScript::addCommand(const Command &command)
{
    m_items.emplace_back(command);
}

void BatchScript::addSinglePass(
    const QString &inputFile, const QString &outputFile, bool h264Preset)
{
    addCommand(inputFile, outputFile, h264Preset, 0);
}

void BatchScript::addTwoPass(const QString &inputFile, const QString &outputFile, bool h264Preset)
{
    for (int pass = 1; pass <= 2; ++pass)
        addCommand(inputFile, outputFile, h264Preset, pass);
}

FinishedBatchScript BatchScript::finish() const
{
    return FinishedBatchScript(m_ffmpegPath, m_items);
}

FinishedBatchScript::FinishedBatchScript(QString ffmpegPath, std::vector<BatchScript::Item> items)
    : m_ffmpegPath(std::move(ffmpegPath))
    , m_items(std::move(items))
{ }

QStringList FinishedBatchScript::batLines() const
{
    QStringList lines{
        QStringLiteral("@echo off"), QStringLiteral("set ffmpeg=") + batPath(m_ffmpegPath)};
    for (const BatchScript::Item &item : m_items) {
        if (const auto *p = std::get_if<BatchScript::Pieces>(&item)) {
            lines << QStringLiteral("set VCodec=") + p->pieces.VCodec
                  << QStringLiteral("set ACodec=") + p->pieces.ACodec
                  << QStringLiteral("set AdvParams=") + p->pieces.AdvParams
                  << QStringLiteral("set AddParams=") + p->pieces.AddParams << QString()
                  << QStringLiteral("rem ") + fileHeader(p->FileNo)
                  << QStringLiteral("set VParams=") + p->pieces.VParams
                  << QStringLiteral("set AParams=") + p->pieces.AParams;
        } else if (const auto *f = std::get_if<BatchScript::Folder>(&item)) {
            lines << QStringLiteral("if not exist ") + batPath(f->Path + u'/')
                    + QStringLiteral(" mkdir ") + batPath(f->Path);
        } else {
            const auto &c = std::get<BatchScript::Command>(item);
            lines << QStringLiteral("%ffmpeg% -y -i ") + batPath(c.InputFile)
                    + QStringLiteral(" %VCodec% %VParams% %ACodec% %AParams% %AdvParams%")
                    + joint(c) + QStringLiteral("%AddParams% ") + batPath(c.OutputFile);
        }
    }
    lines << QString() << QStringLiteral("pause");
    return lines;
}

QStringList FinishedBatchScript::shLines() const
{
    QStringList lines{
        QStringLiteral("#!/bin/sh"),
        QStringLiteral("# Converts the files with FFmpeg as Quillon would. The pieces are split"),
        QStringLiteral("# at blanks; set -f keeps * and ? in them from matching file names."),
        QStringLiteral("set -f"),
        QStringLiteral("ffmpeg=") + shQuote(m_ffmpegPath),
    };
    BatchPieces pieces;
    for (const BatchScript::Item &item : m_items) {
        if (const auto *p = std::get_if<BatchScript::Pieces>(&item)) {
            pieces = p->pieces;
            lines << QStringLiteral("VCodec=") + shQuote(pieces.VCodec)
                  << QStringLiteral("ACodec=") + shQuote(pieces.ACodec)
                  << QStringLiteral("AdvParams=") + shQuote(pieces.AdvParams)
                  << QStringLiteral("AddParams=") + shQuote(pieces.AddParams) << QString()
                  << QStringLiteral("# ") + fileHeader(p->FileNo)
                  << QStringLiteral("VParams=") + shQuote(pieces.VParams)
                  << QStringLiteral("AParams=") + shQuote(pieces.AParams);
            continue;
        }
        if (const auto *f = std::get_if<BatchScript::Folder>(&item)) {
            lines << QStringLiteral("mkdir -p -- ") + shQuote(f->Path);
            continue;
        }
        lines << shCommand(
            QStringLiteral("\"$ffmpeg\""), pieces, std::get<BatchScript::Command>(item), true);
    }
    lines << QString()
          << QStringLiteral("if [ -t 0 ]; then printf 'Press Enter to continue . . . '; read -r "
                            "answer; fi");
    return lines;
}

QStringList FinishedBatchScript::lines(BatchScriptFormat format) const
{
    return format == BatchScriptFormat::Bat ? batLines() : shLines();
}

QByteArray FinishedBatchScript::render(BatchScriptFormat format) const
{
    const QByteArray lineEnd = format == BatchScriptFormat::Bat ? "\r\n" : "\n";
    QByteArray bytes;
    for (const QString &line : lines(format))
        bytes += line.toUtf8() + lineEnd;
    return bytes;
}

QString BatchScriptTargetProblem(const QString &fileName, const FileIdentitySet *inputs)
{
    if (inputs && inputs->contains(fileName)) {
        return QStringLiteral("\"%1\" is one of the files to convert; the script is not written "
                              "over it")
            .arg(fileName);
    }
    // Through a link: the save writes to where the link leads.
    struct stat info;
    if (::stat(QFile::encodeName(fileName).constData(), &info) == 0 && !S_ISREG(info.st_mode)) {
        return QStringLiteral("\"%1\" exists and is not a regular file (a folder, a device or a "
                              "pipe); the script is not written there")
            .arg(fileName);
    }
    return {};
}

bool FinishedBatchScript::save(const QString &fileName, QString *errorText) const
{
    if (const QString problem = BatchScriptTargetProblem(fileName, nullptr); !problem.isEmpty()) {
        if (errorText)
            *errorText = problem;
        return false;
    }
    const BatchScriptFormat format = BatchScriptFormatOf(fileName);
    const QByteArray bytes = render(format);
    const auto runnable = [format](QSaveFile &file) {
        if (format != BatchScriptFormat::Sh)
            return true;
        // Readable parts become runnable too: like chmod +x under the umask.
        QFileDevice::Permissions permissions = file.permissions();
        if (permissions & QFileDevice::ReadOwner)
            permissions |= QFileDevice::ExeOwner | QFileDevice::ExeUser;
        if (permissions & QFileDevice::ReadGroup)
            permissions |= QFileDevice::ExeGroup;
        if (permissions & QFileDevice::ReadOther)
            permissions |= QFileDevice::ExeOther;
        return file.setPermissions(permissions);
    };
    return SaveWholeFile(fileName, bytes, errorText, runnable);
}
