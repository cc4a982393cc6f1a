#pragma once

#include "app/FileIdentity.h"
#include "encoding/EncodingSettings.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <compare>
#include <cstdint>
#include <optional>
#include <set>
#include <vector>

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

// The folder input lies in below treeRoot (the folder it was added
// through), as a relative path such as "Season1/Extras": empty for a file
// directly in treeRoot, for no root, and for a file outside it, which all
// go to the output folder itself. Never climbs out with "..".
QString TreeSubfolder(const QString &input, const QString &treeRoot);

// The folder s sends input's output to, before anything is made: the
// input's own, edOutDir (made absolute), or with chOutDirKeepTree the
// input's TreeSubfolder below treeRoot inside it. Empty when edOutDir is.
QString OutputFolderOf(const EncodingSettings &s, const QString &input, const QString &treeRoot);

// The deepest folder that holds every one of files (absolute paths), "/" at
// the least; empty for no files.
QString CommonFolderOf(const QStringList &files);

// Whether anything (file, folder, link, even a dangling one) has this name.
bool PathEntryExists(const QString &path);

// Whether two names reach the same file as the file system sees it: the
// same text, or the same device and inode (through symbolic links, hard
// links, or letter case on a file system that ignores it).
bool IsSameFile(const QString &a, const QString &b);

// Deletes a file; when a plain delete fails, once more after making it
// writable (a read-only file must not survive as a half-converted output).
// True when the name is gone.
bool RemoveFileEvenReadOnly(const QString &path);

// The identities of a set of files, taken once: one stat per file, whatever
// the number of names checked against them.
class FileIdentitySet
{
public:
    FileIdentitySet() = default;
    explicit FileIdentitySet(const QStringList &paths);
    void insert(const FileIdentity &identity) { m_identities.insert(identity); }
    // Whether path names one of the files (through any link).
    bool contains(const QString &path) const;

private:
    std::set<FileIdentity> m_identities;
};

// The output of one row and what to do with it.
struct OutputPath
{
    enum Action {
        Convert, // build and run the command
        Skip, // the output exists and the policy is "Skip file"
        Failed // the output folder could not be created (told already): end the run
    };
    // What became of the name, as the row's text tells it.
    enum Outcome {
        Done, // a new file
        Renamed, // a numbered name
        Overwritten, // the existing file is replaced
        Skipped,
    };
    Action action = Convert;
    Outcome outcome = Done;
    QString path;
    // Main.Done, Main.OK_Renamed, Main.OK_Overwritten or Main.Skipped.
    QString doneText;
    // Plan mode: a sub-folder of a kept tree that does not exist yet, the
    // first time a name in it is handed out; the script creates it.
    QString newFolder;
};

// Decides the outputs of a run's files one after the other, so that a run,
// its script and its command listing name them alike: beside the input or
// in edOutDir (created with its parents when missing; with
// chOutDirKeepTree, in the input's TreeSubfolder of it), the extension of the
// active page, and the existing-output policy. An existing output that is
// a listed file (converted or not, before or after, through any link) or an
// output this run has already named is never overwritten: it is renamed, or
// skipped under "Skip file". A folder that cannot be created is reported
// through messages with Main.CantCreateDirectory.
class OutputNamePlanner
{
public:
    enum Mode {
        // A real run: each new name is created empty and exclusively when it
        // is chosen, so that another run or program gets the next one.
        Reserve,
        // A script or a listing: the names handed out are only remembered,
        // and count as existing from then on, as the run would find them.
        Plan,
    };

    // inputs: the files of the run in walk order; listed: every other file
    // of the list (unchecked rows), which no output may replace either.
    OutputNamePlanner(const EncodingSettings &s, const TAppStrings &strings, IMessageSink *messages,
        Mode mode, const QStringList &inputs, const QStringList &listed = {});
    // Removes what is still reserved and empty.
    ~OutputNamePlanner();
    OutputNamePlanner(const OutputNamePlanner &) = delete;
    OutputNamePlanner &operator=(const OutputNamePlanner &) = delete;

    // The folder each input was added through, in the order of inputs:
    // where chOutDirKeepTree takes the sub-folders from. None: every output
    // goes to edOutDir itself.
    void setTreeRoots(const QStringList &roots) { m_treeRoots = roots; }

    // The output of inputs[index]; called in walk order.
    OutputPath next(qsizetype index);

    // Done with the file reserved as path: it is deleted while it is still
    // the empty file this planner created (nothing was written into it);
    // anything else there is left alone.
    void release(const QString &path);

    // The listed files, inputs included.
    const FileIdentitySet &listed() const { return m_listed; }

private:
    enum Claim { Claimed, AlreadyTaken, NotCreated };
    bool taken(const QString &path) const;
    // Whether an existing path must not be overwritten: a listed file, or
    // what this run has named already.
    bool protectedFile(const QString &path, const QString &input) const;
    void remember(const QString &path);
    Claim claim(const QString &path);
    QString doneText(const OutputPath &output) const;
    // The folder of inputs[index]'s output, created as needed (Plan mode:
    // sub-folders only noted in result.newFolder); empty, with the message
    // given and result.action Failed, when it cannot be.
    QString outputFolder(qsizetype index, OutputPath &result);

    EncodingSettings m_settings;
    bool m_outDirUsed;
    QStringList m_treeRoots;
    QSet<QString> m_newFolders;
    QString m_outDir;
    QString m_ext;
    int m_policy;
    QString m_cantCreate, m_done, m_renamed, m_overwritten, m_skipped;
    IMessageSink *m_messages;
    Mode m_mode;
    QStringList m_inputList;
    FileIdentitySet m_listed;
    // Plan mode: names handed out, which count as existing from then on.
    QSet<QString> m_planned;
    // Outputs handed out, by name and by identity: a later file of the run
    // never overwrites them.
    QSet<QString> m_handedOut;
    FileIdentitySet m_handedOutFiles;
    struct Reservation
    {
        QString path;
        FileIdentity identity;
    };
    std::vector<Reservation> m_reserved;
};
