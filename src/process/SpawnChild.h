#pragma once

#include <QString>
#include <QStringList>
#include <sys/types.h>

// "Cannot run ... in the folder ...: <the system's error text>".
QString StartFailureText(const QString &program, const QString &workDir, int error);

// Starts program with arguments in workDir, its standard input on stdinFd
// and its standard output and error on outputFd, in a process group of its
// own that dies with this process; with lowestPriority at nice 19. No shell,
// no PATH search. Throws ConsoleRunError when it cannot be started (exec's
// own failure included).
pid_t SpawnChild(const QString &program, const QStringList &arguments, const QString &workDir,
    int stdinFd, int outputFd, bool lowestPriority);
