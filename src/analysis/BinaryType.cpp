#include "analysis/BinaryType.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>

namespace {

// Reads pieces of a file at given offsets; every read either yields the
// whole piece or fails.
class FileReader
{
public:
    explicit FileReader(const QString &path)
        : m_file(path)
    {
        m_open = m_file.open(QIODevice::ReadOnly);
    }

    bool isOpen() const { return m_open; }
    qint64 size() const { return m_file.size(); }

    bool read(quint64 offset, qint64 length, QByteArray &out)
    {
        if (!m_open || length < 0 || offset > quint64(size())
            || quint64(length) > quint64(size()) - offset || !m_file.seek(qint64(offset)))
            return false;
        out = m_file.read(length);
        return out.size() == length;
    }

private:
    QFile m_file;
    bool m_open = false;
};

uint64_t readUnsigned(const QByteArray &bytes, qsizetype offset, int width, bool bigEndian)
{
    uint64_t value = 0;
    for (int i = 0; i < width; ++i) {
        const auto byte = uint64_t(static_cast<unsigned char>(bytes.at(offset + i)));
        value |= bigEndian ? byte << (8 * (width - 1 - i)) : byte << (8 * i);
    }
    return value;
}

uint16_t le16(const QByteArray &b, qsizetype at)
{
    return uint16_t(readUnsigned(b, at, 2, false));
}

uint32_t le32(const QByteArray &b, qsizetype at)
{
    return uint32_t(readUnsigned(b, at, 4, false));
}

constexpr uint32_t PeSignature = 0x00004550; // "PE\0\0"
constexpr uint16_t PeCharacteristicExecutable = 0x0002;
constexpr uint16_t PeCharacteristicDll = 0x2000;

// ELF constants (elf.h), spelled out so the reader does not depend on the
// build machine's headers.
constexpr int ElfClass32 = 1;
constexpr int ElfClass64 = 2;
constexpr int ElfDataLsb = 1;
constexpr int ElfDataMsb = 2;
constexpr uint16_t ElfTypeExec = 2;
constexpr uint16_t ElfTypeDyn = 3;
constexpr uint32_t PtDynamic = 2;
constexpr uint32_t PtInterp = 3;
constexpr uint64_t DtNull = 0;
constexpr uint64_t DtSoname = 14;
constexpr uint64_t DtFlags1 = 0x6ffffffb;
constexpr uint64_t Df1Pie = 0x08000000;
// A dynamic section is a few hundred bytes; a larger claim is not believed.
constexpr uint64_t MaxDynamicSize = 1 << 20;

struct ElfHeader
{
    bool is64 = false;
    bool bigEndian = false;
    uint16_t type = 0;
    uint16_t machine = 0;
    uint64_t phoff = 0;
    uint16_t phentsize = 0;
    uint16_t phnum = 0;
};

struct DynamicFacts
{
    bool hasInterpreter = false;
    bool hasSoname = false;
    bool pieFlag = false;
};

DynamicFacts readDynamicFacts(FileReader &reader, const ElfHeader &h)
{
    DynamicFacts facts;
    const qint64 minEntry = h.is64 ? 56 : 32;
    if (h.phoff == 0 || h.phentsize < minEntry)
        return facts;
    QByteArray table;
    if (!reader.read(h.phoff, qint64(h.phentsize) * h.phnum, table))
        return facts;

    const auto get = [&h](const QByteArray &b, qsizetype at, int width) {
        return readUnsigned(b, at, width, h.bigEndian);
    };
    for (int i = 0; i < h.phnum; ++i) {
        const qsizetype at = qsizetype(i) * h.phentsize;
        const uint32_t type = uint32_t(get(table, at, 4));
        if (type == PtInterp) {
            facts.hasInterpreter = true;
            continue;
        }
        if (type != PtDynamic)
            continue;
        const uint64_t offset = h.is64 ? get(table, at + 8, 8) : get(table, at + 4, 4);
        const uint64_t size = h.is64 ? get(table, at + 32, 8) : get(table, at + 16, 4);
        QByteArray dynamic;
        if (size > MaxDynamicSize || !reader.read(offset, qint64(size), dynamic))
            continue;
        const int word = h.is64 ? 8 : 4;
        for (qsizetype e = 0; e + 2 * word <= dynamic.size(); e += 2 * word) {
            const uint64_t tag = get(dynamic, e, word);
            const uint64_t value = get(dynamic, e + word, word);
            if (tag == DtNull)
                break;
            if (tag == DtSoname)
                facts.hasSoname = true;
            else if (tag == DtFlags1 && (value & Df1Pie))
                facts.pieFlag = true;
        }
    }
    return facts;
}

} // namespace

QString BinaryTypeInfo::text() const
{
    return QString::number(Bits) + QStringLiteral("-bit ") + Description;
}

QString PeMachineDescription(uint16_t machine)
{
    switch (machine) {
    case 0x0000:
        return QStringLiteral("Unknown machine");
    case 0x014C:
        return QStringLiteral("Intel 386 or later processors and compatible processors");
    case 0x014D:
        return QStringLiteral("Intel 486");
    case 0x014E:
        return QStringLiteral("Intel 586");
    case 0x0162:
        return QStringLiteral("MIPS little endian R3000");
    case 0x0160:
        return QStringLiteral("MIPS big-endian");
    case 0x0166:
        return QStringLiteral("MIPS little endian R4000");
    case 0x0168:
        return QStringLiteral("MIPS little endian R10000");
    case 0x0169:
        return QStringLiteral("MIPS little endian WCE v2");
    case 0x5032:
        return QStringLiteral("RISC-V 32-bit address space");
    case 0x5064:
        return QStringLiteral("RISC-V 64-bit address space");
    case 0x5128:
        return QStringLiteral("RISC-V 128-bit address space");
    case 0x0184:
        return QStringLiteral("Alpha_AXP");
    case 0x01A2:
        return QStringLiteral("Hitachi SH3 little endian");
    case 0x01A3:
        return QStringLiteral("Hitachi SH3 DSP");
    case 0x01A4:
        return QStringLiteral("SH3E little endian");
    case 0x01A6:
        return QStringLiteral("Hitachi SH4 little endian");
    case 0x01A8:
        return QStringLiteral("Hitachi SH5");
    case 0x01C0:
        return QStringLiteral("ARM little endian");
    case 0xAA64:
        return QStringLiteral("ARM64 little endian");
    case 0x01C4:
        return QStringLiteral("ARM Thumb-2 little endian");
    case 0x01C2:
        return QStringLiteral("ARM or Thumb");
    case 0x01D3:
        return QStringLiteral("Matsushita AM33");
    case 0x01F0:
        return QStringLiteral("IBM PowerPC little endian");
    case 0x01F1:
        return QStringLiteral("IBM PowerPC with floating point support");
    case 0x0200:
        return QStringLiteral("Intel Itanium 64 processor family");
    case 0x0266:
        return QStringLiteral("MIPS16");
    case 0x0284:
        return QStringLiteral("ALPHA64");
    case 0x0366:
        return QStringLiteral("MIPS with FPU");
    case 0x0466:
        return QStringLiteral("MIPS16 with FPU");
    case 0x0520:
        return QStringLiteral("Infineon");
    case 0x0CEF:
        return QStringLiteral("CEF");
    case 0x0EBC:
        return QStringLiteral("EFI byte code");
    case 0x8664:
        return QStringLiteral("AMD64 (x64)");
    case 0x9041:
        return QStringLiteral("Mitsubishi M32R little endian");
    case 0xC0EE:
        return QStringLiteral("CEE");
    default:
        return {};
    }
}

QString ElfMachineDescription(uint16_t machine)
{
    switch (machine) {
    case 2:
        return QStringLiteral("SPARC");
    case 3:
        return QStringLiteral("Intel 80386");
    case 8:
        return QStringLiteral("MIPS");
    case 20:
        return QStringLiteral("PowerPC");
    case 21:
        return QStringLiteral("PowerPC 64-bit");
    case 22:
        return QStringLiteral("IBM S/390");
    case 40:
        return QStringLiteral("ARM");
    case 42:
        return QStringLiteral("Hitachi SH");
    case 43:
        return QStringLiteral("SPARC V9");
    case 50:
        return QStringLiteral("Intel Itanium");
    case 62:
        return QStringLiteral("AMD64 (x86-64)");
    case 183:
        return QStringLiteral("ARM64 (AArch64)");
    case 243:
        return QStringLiteral("RISC-V");
    case 258:
        return QStringLiteral("LoongArch");
    default:
        return {};
    }
}

std::optional<BinaryTypeInfo> ReadPeBinaryType(const QString &path)
{
    FileReader reader(path);
    QByteArray dosHeader;
    if (!reader.read(0, 64, dosHeader))
        return std::nullopt;
    const uint32_t peOffset = le32(dosHeader, 60);

    QByteArray signature;
    if (!reader.read(peOffset, 4, signature) || le32(signature, 0) != PeSignature)
        return std::nullopt; // also a 16-bit "NE" file, which is not reported

    QByteArray fileHeader;
    QByteArray magicBytes;
    if (!reader.read(quint64(peOffset) + 4, 20, fileHeader)
        || !reader.read(quint64(peOffset) + 24, 2, magicBytes))
        return std::nullopt;
    const uint16_t machine = le16(fileHeader, 0);
    const uint16_t characteristics = le16(fileHeader, 18);

    QString magic;
    int bits = 0;
    switch (le16(magicBytes, 0)) {
    case 0x10B:
        magic = QStringLiteral("PE32");
        bits = 32;
        break;
    case 0x20B:
        magic = QStringLiteral("PE32+");
        bits = 64;
        break;
    default:
        break;
    }
    QByteArray optionalHeader;
    if (!reader.read(quint64(peOffset) + 24, bits == 32 ? 224 : 240, optionalHeader))
        return std::nullopt;

    QString description;
    if (characteristics & PeCharacteristicDll)
        description = QStringLiteral("Library");
    else if (characteristics & PeCharacteristicExecutable)
        description = QStringLiteral("Executable");
    if (!magic.isEmpty())
        description += QStringLiteral(" / Win ") + magic;
    if (!description.isEmpty())
        description += QStringLiteral(" / ") + PeMachineDescription(machine);
    return BinaryTypeInfo{bits, description};
}

std::optional<BinaryTypeInfo> ReadElfBinaryType(const QString &path)
{
    FileReader reader(path);
    QByteArray ident;
    if (!reader.read(0, 16, ident)
        || !ident.startsWith("\x7f"
                             "ELF"))
        return std::nullopt;
    const int elfClass = static_cast<unsigned char>(ident.at(4));
    const int data = static_cast<unsigned char>(ident.at(5));
    if ((elfClass != ElfClass32 && elfClass != ElfClass64)
        || (data != ElfDataLsb && data != ElfDataMsb))
        return std::nullopt;

    ElfHeader h;
    h.is64 = elfClass == ElfClass64;
    h.bigEndian = data == ElfDataMsb;
    QByteArray header;
    if (!reader.read(0, h.is64 ? 64 : 52, header))
        return std::nullopt;
    const auto get
        = [&](qsizetype at, int width) { return readUnsigned(header, at, width, h.bigEndian); };
    h.type = uint16_t(get(16, 2));
    h.machine = uint16_t(get(18, 2));
    h.phoff = h.is64 ? get(32, 8) : get(28, 4);
    h.phentsize = uint16_t(get(h.is64 ? 54 : 42, 2));
    h.phnum = uint16_t(get(h.is64 ? 56 : 44, 2));

    QString kind;
    if (h.type == ElfTypeExec) {
        kind = QStringLiteral("Executable");
    } else if (h.type == ElfTypeDyn) {
        const DynamicFacts facts = readDynamicFacts(reader, h);
        const bool executable = facts.pieFlag || (facts.hasInterpreter && !facts.hasSoname);
        kind = executable ? QStringLiteral("Executable") : QStringLiteral("Library");
    }
    QStringList parts{kind, h.is64 ? QStringLiteral("ELF64") : QStringLiteral("ELF32"),
        ElfMachineDescription(h.machine)};
    parts.removeAll(QString());
    return BinaryTypeInfo{h.is64 ? 64 : 32, parts.join(QStringLiteral(" / "))};
}

std::optional<BinaryTypeInfo> ReadBinaryType(const QString &path)
{
    if (auto pe = ReadPeBinaryType(path))
        return pe;
    return ReadElfBinaryType(path);
}
