#include "analysis/BinaryType.h"
#include "analysis/Crc32.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zlib.h>

using namespace Qt::StringLiterals;

namespace {

void Put(QByteArray &bytes, qsizetype at, uint64_t value, int width, bool bigEndian = false)
{
    if (bytes.size() < at + width)
        bytes.resize(at + width, '\0');
    for (int i = 0; i < width; ++i) {
        const int shift = 8 * (bigEndian ? width - 1 - i : i);
        bytes[at + i] = char((value >> shift) & 0xff);
    }
}

struct PeLayout
{
    uint16_t machine = 0x014C;
    uint16_t characteristics = 0x0102;
    uint16_t magic = 0x10B;
    int optionalHeaderSize = 224;
    QByteArray signature = QByteArray("PE\0\0", 4);
    uint32_t peOffset = 0x80;
};

QByteArray MakePe(const PeLayout &layout)
{
    QByteArray bytes(64, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    Put(bytes, 60, layout.peOffset, 4);
    bytes.resize(layout.peOffset, '\0');
    bytes += layout.signature;
    Put(bytes, layout.peOffset + 4, layout.machine, 2);
    Put(bytes, layout.peOffset + 6, 1, 2); // one section
    Put(bytes, layout.peOffset + 20, layout.optionalHeaderSize, 2);
    Put(bytes, layout.peOffset + 22, layout.characteristics, 2);
    Put(bytes, layout.peOffset + 24, layout.magic, 2);
    bytes.resize(layout.peOffset + 24 + layout.optionalHeaderSize, '\0');
    bytes += QByteArray(40, '\0'); // the section table
    return bytes;
}

struct ElfLayout
{
    bool is64 = true;
    bool bigEndian = false;
    uint16_t type = 3; // ET_DYN
    uint16_t machine = 62; // x86-64
    bool interpreter = false;
    bool soname = false;
    bool pieFlag = false;
};

QByteArray MakeElf(const ElfLayout &layout)
{
    const bool be = layout.bigEndian;
    const int word = layout.is64 ? 8 : 4;
    const int headerSize = layout.is64 ? 64 : 52;
    const int phentsize = layout.is64 ? 56 : 32;
    const int phnum = 2;
    QByteArray bytes(headerSize, '\0');
    bytes[0] = '\x7f';
    bytes[1] = 'E';
    bytes[2] = 'L';
    bytes[3] = 'F';
    bytes[4] = char(layout.is64 ? 2 : 1);
    bytes[5] = char(be ? 2 : 1);
    bytes[6] = 1;
    Put(bytes, 16, layout.type, 2, be);
    Put(bytes, 18, layout.machine, 2, be);
    Put(bytes, 20, 1, 4, be);
    Put(bytes, layout.is64 ? 32 : 28, headerSize, word, be); // e_phoff
    Put(bytes, layout.is64 ? 52 : 40, headerSize, 2, be);
    Put(bytes, layout.is64 ? 54 : 42, phentsize, 2, be);
    Put(bytes, layout.is64 ? 56 : 44, phnum, 2, be);

    QByteArray dynamic;
    int entries = 0;
    const auto addDynamic = [&](uint64_t tag, uint64_t value) {
        Put(dynamic, entries * 2 * word, tag, word, be);
        Put(dynamic, entries * 2 * word + word, value, word, be);
        ++entries;
    };
    addDynamic(1, 5); // DT_NEEDED
    if (layout.soname)
        addDynamic(14, 1);
    if (layout.pieFlag)
        addDynamic(0x6ffffffb, 0x08000001); // DF_1_PIE | DF_1_NOW
    addDynamic(0, 0);

    const qsizetype dynamicOffset = headerSize + phnum * phentsize;
    const qsizetype first = headerSize;
    const qsizetype second = headerSize + phentsize;
    // Segment 0: the interpreter (or a PT_LOAD), segment 1: PT_DYNAMIC.
    Put(bytes, first, layout.interpreter ? 3 : 1, 4, be);
    Put(bytes, second, 2, 4, be);
    Put(bytes, second + (layout.is64 ? 8 : 4), dynamicOffset, word, be);
    Put(bytes, second + (layout.is64 ? 32 : 16), dynamic.size(), word, be);
    bytes.resize(dynamicOffset, '\0');
    bytes += dynamic;
    return bytes;
}

class BinaryFiles : public ::testing::Test
{
protected:
    QString Write(const QString &name, const QByteArray &bytes)
    {
        QString path = m_dir.filePath(name);
        EXPECT_TRUE(TestSupport::WriteFile(path, bytes));
        return path;
    }

    QTemporaryDir m_dir;
};

TEST_F(BinaryFiles, PeHeadersGiveTheirDescriptions)
{
    const QString i386 = u"Intel 386 or later processors and compatible processors"_s;
    const struct
    {
        const char *name;
        PeLayout layout;
        QString text;
    } cases[] = {
        {"exe32", {}, u"32-bit Executable / Win PE32 / "_s + i386},
        {"exe64", {0x8664, 0x0022, 0x20B, 240}, u"64-bit Executable / Win PE32+ / AMD64 (x64)"_s},
        {"dll32", {0x014C, 0x2102, 0x10B, 224}, u"32-bit Library / Win PE32 / "_s + i386},
        {"dll64arm", {0xAA64, 0x2022, 0x20B, 240},
            u"64-bit Library / Win PE32+ / ARM64 little endian"_s},
        // Neither flag: the description starts with the separator.
        {"object", {0x014C, 0x0000, 0x10B, 224}, u"32-bit  / Win PE32 / "_s + i386},
        // An unknown optional-header magic: no magic text and 0 bits.
        {"rom", {0x014C, 0x0002, 0x107, 240}, u"0-bit Executable / "_s + i386},
        {"unknownMachine", {0x1234, 0x0002, 0x10B, 224}, u"32-bit Executable / Win PE32 / "_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const auto type = ReadBinaryType(Write(QString::fromLatin1(c.name), MakePe(c.layout)));
        ASSERT_TRUE(type.has_value());
        EXPECT_EQ(type->text(), c.text);
    }
}

TEST_F(BinaryFiles, FilesThatAreNoCompletePeFileGetNoType)
{
    PeLayout ne;
    ne.signature = QByteArray("NE\x05\x0a", 4);
    QByteArray truncated = MakePe({});
    truncated.truncate(0x80 + 24 + 100); // the optional header cut short
    PeLayout pe64 = {0x8664, 0x0022, 0x20B, 240};
    QByteArray short64 = MakePe(pe64);
    short64.truncate(0x80 + 24 + 230); // a PE32+ header needs 240 bytes
    PeLayout farAway;
    QByteArray beyond = MakePe(farAway);
    Put(beyond, 60, 0xFFFFFFF0u, 4);

    const struct
    {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        {"ne", MakePe(ne)},
        {"truncated", truncated},
        {"short64", short64},
        {"signatureBeyondEnd", beyond},
        {"tiny", QByteArray(63, 'M')},
        {"empty", QByteArray()},
        {"text",
            QByteArray("just some text that is long enough to hold a DOS header, really, "
                       "it is")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(ReadBinaryType(Write(QString::fromLatin1(c.name), c.bytes)).has_value());
    }
    EXPECT_FALSE(ReadBinaryType(m_dir.filePath(u"missing"_s)).has_value());
}

TEST_F(BinaryFiles, ElfHeadersTellExecutablesFromLibraries)
{
    const struct
    {
        const char *name;
        ElfLayout layout;
        QString text;
    } cases[] = {
        {"pie", {.interpreter = true, .pieFlag = true},
            u"64-bit Executable / ELF64 / AMD64 (x86-64)"_s},
        // Older linkers set no PIE flag: an interpreter without a SONAME.
        {"oldPie", {.interpreter = true}, u"64-bit Executable / ELF64 / AMD64 (x86-64)"_s},
        {"library", {.soname = true}, u"64-bit Library / ELF64 / AMD64 (x86-64)"_s},
        {"libraryWithoutSoname", {}, u"64-bit Library / ELF64 / AMD64 (x86-64)"_s},
        // libc.so.6 runs as a program too, yet it is a library.
        {"libcLike", {.interpreter = true, .soname = true},
            u"64-bit Library / ELF64 / AMD64 (x86-64)"_s},
        {"staticPie", {.pieFlag = true}, u"64-bit Executable / ELF64 / AMD64 (x86-64)"_s},
        {"exec32be", {.is64 = false, .bigEndian = true, .type = 2, .machine = 20},
            u"32-bit Executable / ELF32 / PowerPC"_s},
        {"dyn32be", {.is64 = false, .bigEndian = true, .machine = 20, .soname = true},
            u"32-bit Library / ELF32 / PowerPC"_s},
        {"pie32", {.is64 = false, .machine = 3, .interpreter = true, .pieFlag = true},
            u"32-bit Executable / ELF32 / Intel 80386"_s},
        {"object", {.type = 1}, u"64-bit ELF64 / AMD64 (x86-64)"_s},
        {"unknownMachine", {.type = 2, .machine = 9999}, u"64-bit Executable / ELF64"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const auto type = ReadBinaryType(Write(QString::fromLatin1(c.name), MakeElf(c.layout)));
        ASSERT_TRUE(type.has_value());
        EXPECT_EQ(type->text(), c.text);
    }
}

TEST_F(BinaryFiles, BrokenElfFiles)
{
    QByteArray badClass = MakeElf({});
    badClass[4] = 7;
    QByteArray shortHeader = MakeElf({});
    shortHeader.truncate(40);
    // Program headers pointing beyond the end: still an ELF file, but the
    // dynamic facts cannot be read, so it counts as a library.
    QByteArray lostHeaders = MakeElf({.interpreter = true, .pieFlag = true});
    Put(lostHeaders, 32, 0x7fffffff00000000ull, 8);

    EXPECT_FALSE(ReadBinaryType(Write(u"badClass"_s, badClass)).has_value());
    EXPECT_FALSE(ReadBinaryType(Write(u"shortHeader"_s, shortHeader)).has_value());
    const auto lost = ReadBinaryType(Write(u"lostHeaders"_s, lostHeaders));
    ASSERT_TRUE(lost.has_value());
    EXPECT_EQ(lost->text(), u"64-bit Library / ELF64 / AMD64 (x86-64)"_s);
}

TEST(RealBinaries, InstalledFFmpegAndThisProgramAreExecutables)
{
    const QString ffmpeg = QStandardPaths::findExecutable(u"ffmpeg"_s);
    ASSERT_FALSE(ffmpeg.isEmpty()) << "ffmpeg is not installed";
    for (const QString &path : {QFileInfo(ffmpeg).canonicalFilePath(), u"/proc/self/exe"_s}) {
        SCOPED_TRACE(path.toStdString());
        const auto type = ReadBinaryType(path);
        ASSERT_TRUE(type.has_value());
        EXPECT_TRUE(type->text().startsWith(
            QString::number(sizeof(void *) * 8) + u"-bit Executable / ELF"_s))
            << type->text().toStdString();
#if defined(__x86_64__)
        EXPECT_EQ(type->text(), u"64-bit Executable / ELF64 / AMD64 (x86-64)"_s);
#endif
    }
}

TEST(RealBinaries, SystemMediaInfoLibraryIsALibrary)
{
    const QString library = u"/usr/lib/x86_64-linux-gnu/libmediainfo.so.0"_s;
    if (!QFileInfo::exists(library))
        QLN_SKIP_MISSING() << "no system MediaInfo library at " << library.toStdString();
    const auto type = ReadBinaryType(library);
    ASSERT_TRUE(type.has_value());
    EXPECT_EQ(type->text(), u"64-bit Library / ELF64 / AMD64 (x86-64)"_s);
}

TEST_F(BinaryFiles, Crc32MatchesZlibAcrossBlockBoundaries)
{
    EXPECT_EQ(Crc32OfFile(Write(u"check"_s, "123456789")), 0xCBF43926u);
    EXPECT_EQ(Crc32OfFile(Write(u"empty"_s, {})), 0u);
    for (const qsizetype size :
        {Crc32BlockSize - 1, Crc32BlockSize, Crc32BlockSize + 1, 3 * Crc32BlockSize + 12345}) {
        QByteArray bytes(size, '\0');
        for (qsizetype i = 0; i < size; ++i)
            bytes[i] = char((i * 2654435761u) >> 13);
        const uLong expected
            = crc32(0L, reinterpret_cast<const Bytef *>(bytes.constData()), uInt(bytes.size()));
        EXPECT_EQ(Crc32OfFile(Write(u"data"_s, bytes)), uint32_t(expected)) << size;
    }
    EXPECT_EQ(Crc32Hex(0x0a1b2c3d), u"0A1B2C3D"_s);
    EXPECT_EQ(Crc32Hex(0), u"00000000"_s);
}

TEST_F(BinaryFiles, Crc32OfAFileThatCannotBeReadSaysWhy)
{
    QString error;
    EXPECT_FALSE(Crc32OfFile(m_dir.filePath(u"missing"_s), &error).has_value());
    EXPECT_TRUE(error.contains(u"missing"_s)) << error.toStdString();
}

} // namespace
