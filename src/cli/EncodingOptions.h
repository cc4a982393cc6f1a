#pragma once

#include "encoding/EncodingSettings.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <utility>

struct TAppStrings;
struct TAppParams;

// The options of the subcommands that build FFmpeg commands (command,
// convert, script), all listed once in the table of EncodingOptions.cpp
// (see EncodingOptionsUsage), then "--" (only file names follow) and FILE
// arguments.
struct EncodingOptions
{
    EncodingSettings settings;
    // FILE arguments and the lines of list files, in the order given, as
    // written (not yet filtered).
    QStringList inputs;
    // The values of the caller's own options (see ParseEncodingOptions).
    QHash<QString, QString> extra;
    // --tree-root as given; empty with --keep-tree alone (TreeRootOf).
    QString treeRoot;
};

// The folder every input's sub-folders are kept below, with
// settings.chOutDirKeepTree: --tree-root, else the inputs' common folder;
// empty otherwise.
QString TreeRootOf(const EncodingOptions &options, const QStringList &files);

// What the settings start from: the catalogue (Main.Auto and the copy
// entries) and the DefaultVideoCodec option's AVI codec entry.
struct EncodingOptionsBase
{
    const TAppStrings &strings;
    int defaultVideoCodec = 0;
};

// The DefaultVideoCodec key of the settings file as an AVI codec entry.
int DefaultVideoCodecOfSettingsFile(const TAppParams &params);

// Parses args. extraValueOptions names the caller's own options that take
// one value ("--preview"); they land in options.extra. False, with a
// message for standard error in *error, for an unknown option, a missing or
// invalid value, an unreadable profile or list file, or an unknown profile
// key.
bool ParseEncodingOptions(const QStringList &args, const QStringList &extraValueOptions,
    const EncodingOptionsBase &base, EncodingOptions &options, QString *error);

// The usage lines of the shared options, for --help texts.
QString EncodingOptionsUsage();
// One usage line: the option with its value, the help aligned after it.
QString OptionUsageLine(const QString &option, const QString &help);
// Whether arg is one of the shared options that take a value.
bool IsEncodingValueOption(const QString &arg);
QStringList EncodingOptionNames();
// Every SECTION.Key that --set takes, in the settings table's order.
QStringList SetOptionKeys();
// The values of --if-exists and the cbOutputExists entries they choose.
extern const std::pair<const char *, int> IfExistsPolicies[3];
