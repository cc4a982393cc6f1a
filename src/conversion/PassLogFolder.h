#pragma once

#include <QString>
#include <QStringList>

// The folder FFmpeg's two-pass statistics go to: made for the run, private
// to the user, and the only folder whose statistics files are deleted.
class PassLogFolder
{
public:
    // Makes the folder named dir, or one with a numbered suffix when that
    // name is taken; dir becomes the folder made, or empty when none could
    // be. True when the run has its folder.
    bool ensure(QString &dir);
    // A folder of its own inside the one made, for one of several files
    // encoded at once (their statistics files have the same names); empty
    // when there is no run folder or it cannot be made.
    QString fileFolder(int fileNo);
    // Deletes the statistics files in the folders made, then the folders.
    void clear();
    bool made() const { return !m_made.isEmpty(); }

private:
    QString m_made;
    QStringList m_fileFolders;
};
