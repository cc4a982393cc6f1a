#include "filelist/InputFilter.h"

#include "app/NonUtf8Names.h"
#include "app/ProgramDir.h"
#include "filelist/SupportedExtensions.h"

#include <algorithm>

QStringList FilteredInputs::nonUtf8Inputs() const
{
    QStringList names;
    for (const RejectedInput &rejected : this->rejected)
        if (rejected.why == InputRejection::NotUtf8)
            names.append(rejected.input);
    return names;
}

int FilteredInputs::count(InputRejection why) const
{
    return int(std::count_if(rejected.begin(), rejected.end(),
        [why](const RejectedInput &rejected) { return rejected.why == why; }));
}

ListedFiles::ListedFiles(const std::vector<FileListRow> &rows)
{
    for (const FileListRow &row : rows)
        insert(fullFileName(row), row.identity);
}

bool ListedFiles::contains(const QString &path, const std::optional<FileIdentity> &identity) const
{
    return (identity && m_identities.contains(*identity)) || m_names.contains(path);
}

bool ListedFiles::insert(const QString &path, const std::optional<FileIdentity> &identity)
{
    if (contains(path, identity))
        return false;
    if (identity)
        m_identities.insert(*identity);
    m_names.insert(path);
    return true;
}

FilteredInputs FilterInputs(const std::vector<FileListRow> &listed, const QStringList &inputs)
{
    FilteredInputs result;
    ListedFiles taken(listed);
    for (const QString &input : inputs) {
        if (input.isEmpty())
            continue;
        const QString path = ExpandFullPath(input);
        const auto reject = [&](InputRejection why) {
            result.rejected.push_back({input, path, why});
        };
        if (HasNonUtf8Bytes(path)) {
            reject(InputRejection::NotUtf8);
            continue;
        }
        if (!IsSupportedFile(input)) {
            reject(InputRejection::Unsupported);
            continue;
        }
        // One stat per input, not one per pair.
        const std::optional<FileFacts> facts = fileFactsOf(path);
        if (!facts || !facts->isFile)
            reject(InputRejection::Missing);
        else if (!taken.insert(path, facts->identity))
            reject(InputRejection::Duplicate);
        else
            result.files.push_back({path, *facts});
    }
    return result;
}

bool IsFileOnList(const std::vector<FileListRow> &rows, const QString &path)
{
    const QString full = ExpandFullPath(path);
    return ListedFiles(rows).contains(full, fileIdentityOf(full));
}

QStringList InputNotes(const FilteredInputs &filtered)
{
    QStringList notes;
    for (const RejectedInput &rejected : filtered.rejected) {
        const auto note = [&](const char *why) {
            notes.append(
                QStringLiteral("skipped \"%1\": %2").arg(rejected.input, QLatin1String(why)));
        };
        switch (rejected.why) {
        case InputRejection::NotUtf8:
            notes.append(QStringLiteral("skipped ") + NonUtf8NameMessage(rejected.path));
            break;
        case InputRejection::Unsupported:
            note("not a supported media file");
            break;
        case InputRejection::Missing:
            note("no such file");
            break;
        case InputRejection::Duplicate:
            note("already listed");
            break;
        }
    }
    return notes;
}

QStringList FilterInputFiles(const QStringList &inputs, QStringList *notes, int *nonUtf8Count)
{
    const FilteredInputs filtered = FilterInputs({}, inputs);
    if (nonUtf8Count)
        *nonUtf8Count += filtered.count(InputRejection::NotUtf8);
    if (notes)
        *notes += InputNotes(filtered);
    QStringList accepted;
    for (const FileToAdd &file : filtered.files)
        accepted.append(file.path);
    return accepted;
}
