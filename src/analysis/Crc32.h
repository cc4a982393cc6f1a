#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// The CRC-32 of ZIP files (zlib's crc32, reflected polynomial 0xEDB88320,
// starting from 0) over a whole file, read in blocks of Crc32BlockSize bytes.
inline constexpr qint64 Crc32BlockSize = 102400;

// Empty when the file cannot be opened or read; error then says why.
std::optional<uint32_t> Crc32OfFile(const QString &path, QString *error = nullptr);

// Eight upper-case hexadecimal digits: "0A1B2C3D".
QString Crc32Hex(uint32_t crc);
