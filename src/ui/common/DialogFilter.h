#pragma once

#include <QString>

// A file dialog's filter from a catalogue entry that may already show a
// pattern ("File list (*.LST)"): the entry's name with the patterns this
// platform matches ("*.lst"), never two pattern lists in one line.
QString DialogFilter(const QString &entry, const QString &patterns);
