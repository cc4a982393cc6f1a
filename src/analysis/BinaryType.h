#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// What kind of program file a tool is, for the "Binary type:" line of the
// tools report: "64-bit Executable / Win PE32+ / AMD64 (x64)" for a Windows
// build, "64-bit Executable / ELF64 / AMD64 (x86-64)" for a Linux one.
struct BinaryTypeInfo
{
    int Bits = 0;
    QString Description;

    // "<Bits>-bit <Description>".
    QString text() const;
};

// The file-header machine field of a PE file; empty for a value not known.
QString PeMachineDescription(uint16_t machine);
// The e_machine field of an ELF file; empty for a value not known.
QString ElfMachineDescription(uint16_t machine);

// A Windows PE file: DOS header, "PE\0\0" signature at e_lfanew, file header
// and a complete optional header. Anything else (a 16-bit NE file, a short
// or truncated file) gives nothing.
std::optional<BinaryTypeInfo> ReadPeBinaryType(const QString &path);

// An ELF file. "Executable" for ET_EXEC and for a position-independent
// executable, which is ET_DYN like a shared library: a shared object counts
// as an executable when its DT_FLAGS_1 has DF_1_PIE, or (older linkers set
// no such flag) when it asks for a program interpreter and has no DT_SONAME;
// libc.so.6 has an interpreter too, but also a SONAME, and stays a library.
std::optional<BinaryTypeInfo> ReadElfBinaryType(const QString &path);

// PE first, then ELF.
std::optional<BinaryTypeInfo> ReadBinaryType(const QString &path);
