#include "app/SafeSave.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using TestSupport::ReadFile;
using TestSupport::WriteFile;

// A write that fails, small (held in a buffer until the end) or large,
// leaves the old file as it was, no stray file beside it, and says why.
TEST(SafeSave, AFailedWriteKeepsTheOldFileAndSaysWhy)
{
    for (const qsizetype size : {qsizetype(100), qsizetype(200 * 1024)}) {
        SCOPED_TRACE(size);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("old.lst"));
        const QString link = dir.filePath(QStringLiteral("link.lst"));
        ASSERT_TRUE(WriteFile(path, "good"));
        ASSERT_TRUE(QFile::link(path, link));
        QString error;
        bool saved = true;
        {
            TestSupport::FileSizeLimit full(10);
            saved = SaveWholeFile(link, QByteArray(size, 'x'), &error);
        }
        EXPECT_FALSE(saved);
        EXPECT_EQ(error, QStringLiteral("Cannot write \"%1\": File too large").arg(link));
        EXPECT_EQ(ReadFile(path), "good");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden),
            (QStringList{QStringLiteral("link.lst"), QStringLiteral("old.lst")}));
    }
}

// A good save goes through the link to its target and keeps the file's
// permissions; a caller's last step can still cancel it.
TEST(SafeSave, ReplacesTheLinksTargetKeepingItsPermissionsOrNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.sh"));
    const QString link = dir.filePath(QStringLiteral("link.sh"));
    ASSERT_TRUE(WriteFile(path, "good"));
    const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    ASSERT_TRUE(QFile::setPermissions(path, permissions));
    ASSERT_TRUE(QFile::link(path, link));

    EXPECT_FALSE(SaveWholeFile(link, "new", nullptr, [](QSaveFile &) { return false; }));
    EXPECT_EQ(ReadFile(path), "good");
    EXPECT_TRUE(SaveWholeFile(link, "new"));
    EXPECT_EQ(ReadFile(path), "new");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    // Owner, group and others; the "user" flags repeat the owner's for root.
    EXPECT_EQ(QFile::permissions(path) & 0x7077, permissions);
    QString error;
    EXPECT_FALSE(SaveWholeFile(dir.filePath(QStringLiteral("missing/x.lst")), "x", &error));
    EXPECT_FALSE(error.isEmpty());
}
