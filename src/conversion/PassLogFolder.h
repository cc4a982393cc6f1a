#pragma once

#include <QString>

// The folder FFmpeg's two-pass statistics go to: made for the run, private
// to the user, and the only folder whose statistics files are deleted.
class PassLogFolder
{
public:
    // Makes the folder named dir, or one with a numbered suffix when that
    // name is taken; dir becomes the folder made, or empty when none could
    // be. True when the run has its folder.
    bool ensure(QString &dir);
    // Deletes the statistics files in the folder made, then the folder.
    void clear();
    bool made() const { return !m_made.isEmpty(); }

private:
    QString m_made;
};
