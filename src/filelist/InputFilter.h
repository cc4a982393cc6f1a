#pragma once

#include "app/FileIdentity.h"
#include "filelist/FileListRow.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <set>
#include <vector>

// The rules that decide which files come onto the list, for the window and
// the CLI alike. A file is on the list when a row has the same device and
// inode, or the same full name (a file replaced since its row was added has
// a new inode): on Linux, names that differ only in case are different
// files, while links give one file several names.

// A file that passed the adding rules, with what a look at it told.
struct FileToAdd
{
    QString path; // absolute and cleaned
    FileFacts facts;
};

// Why the adding rules leave an input out.
enum class InputRejection {
    // The name is not valid UTF-8 (app/NonUtf8Names.h): it may well name a
    // file, but not one the program can open. Checked on the absolute path,
    // so a relative name in such a folder counts too.
    NotUtf8,
    Unsupported, // not one of the supported extensions
    Missing, // no regular file of that name (links followed)
    Duplicate, // on the list already, or earlier among the same inputs
};

struct RejectedInput
{
    QString input; // as given
    QString path; // made absolute
    InputRejection why = InputRejection::Missing;
};

struct FilteredInputs
{
    std::vector<FileToAdd> files; // accepted, in the order given
    std::vector<RejectedInput> rejected; // in the order given
    // The inputs, as given, left out for NotUtf8.
    QStringList nonUtf8Inputs() const;
    int count(InputRejection why) const;
};

// The files of a list as the adding rules compare them.
class ListedFiles
{
public:
    explicit ListedFiles(const std::vector<FileListRow> &rows = {});
    // Whether path (absolute) with this identity is one of them.
    bool contains(const QString &path, const std::optional<FileIdentity> &identity) const;
    // Takes the file in; false when it was there already.
    bool insert(const QString &path, const std::optional<FileIdentity> &identity);

private:
    std::set<FileIdentity> m_identities;
    std::set<QString> m_names;
};

// The inputs that may be added to a list holding listed: a name that is
// valid UTF-8, a supported extension, an existing regular file, neither on
// the list nor earlier among inputs. Relative paths are taken against the
// current folder. Empty inputs (blank list-file lines) are left out
// silently.
FilteredInputs FilterInputs(const std::vector<FileListRow> &listed, const QStringList &inputs);

// Whether path names a file of some row, as FilterInputs decides it.
bool IsFileOnList(const std::vector<FileListRow> &rows, const QString &path);

// One note for standard error per input left out: "skipped \"x.txt\": not a
// supported media file".
QStringList InputNotes(const FilteredInputs &filtered);

// The inputs an empty list accepts, as absolute paths, with the notes above;
// a name that is not valid UTF-8 is counted
// in *nonUtf8Count too: unlike the others, it names a file that may well
// exist.
QStringList FilterInputFiles(
    const QStringList &inputs, QStringList *notes, int *nonUtf8Count = nullptr);
