#pragma once

#include <QString>
#include <compare>
#include <cstdint>
#include <optional>

struct EncodingSettings;
struct TAppStrings;
class IMessageSink;

// "avi" or "mpg" for the active page, with a leading "." when IncludeDot.
QString GetExt(const EncodingSettings &s, bool IncludeDot);

// Path itself when nothing exists there; otherwise the first free name of
// B + Separator + i (left-padded with "0" to Digits) + E for i = 1 ..
// 100000, where B and E are Path without and with only its extension;
// empty when all of them are taken. A dangling symbolic link counts as
// taken: writing through it would create a file elsewhere.
QString UniqueOutputName(const QString &Path, const QString &Separator, int Digits);

// Whether anything (file, folder, link, even a dangling one) has this name.
bool PathEntryExists(const QString &path);

// Whether two names reach the same file as the file system sees it: the
// same text, or the same device and inode (through symbolic links, hard
// links, or letter case on a file system that ignores it).
bool IsSameFile(const QString &a, const QString &b);

// What IsSameFile compares: device and inode of an existing file. Lets a
// caller check many names against each other with one stat per name.
struct TFileIdentity
{
    uint64_t Device = 0;
    uint64_t Inode = 0;
    auto operator<=>(const TFileIdentity &) const = default;
};
std::optional<TFileIdentity> FileIdentityOf(const QString &path);

// The output of one row and what to do with it.
struct TOutputPath
{
    enum Action {
        Convert, // build and run the command
        Skip, // the output exists and the policy is "Skip file"
        Failed // the output folder could not be created (told already): end the run
    };
    Action action = Convert;
    QString path;
    // The row's text once the file is done: Main.Done, Main.OK_Renamed,
    // Main.OK_Overwritten or Main.Skipped.
    QString doneText;
};

// The output path of inputPath under the output options: beside the input
// or in edOutDir (created with its parents when missing), the extension of
// the active page, and the existing-output policy. An output that is the
// input itself (compared as the file system compares) is always renamed.
// A folder that cannot be created is reported through messages with
// Main.CantCreateDirectory.
TOutputPath OutputPathOfRow(const QString &inputPath, const EncodingSettings &s,
    const TAppStrings &strings, IMessageSink *messages);
