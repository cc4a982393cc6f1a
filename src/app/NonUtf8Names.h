#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

// File names are bytes; the program's text is UTF-16. A name that is not
// valid UTF-8 cannot travel through that text: decoded the usual way, its
// odd bytes become U+FFFD and it names another file, or none. So names
// from outside (arguments, list files, the current folder) are decoded
// here, each byte of an invalid sequence kept as the lone low surrogate
// U+DC80..U+DCFF, which no valid UTF-8 decodes to. Such a name is then
// recognised and reported, never used.

// bytes as UTF-8, with every byte of an invalid sequence kept as above.
QString DecodeLocalName(QByteArrayView bytes);

// True when name holds bytes that were not valid UTF-8.
bool HasNonUtf8Bytes(const QString &name);

// name for messages: each such byte as "\xff", everything else unchanged.
QString EscapedNonUtf8Name(const QString &name);

// The message on such a name: "\"/v/\xff.mkv\": the name is not valid UTF-8".
QString NonUtf8NameMessage(const QString &name);

// One message for every such name one action met: the single message
// above for one name, else how many were skipped and the first few.
QString NonUtf8NamesMessage(const QStringList &names);

// The current folder, decoded as above; empty when it is unknown.
QString CurrentDirName();
