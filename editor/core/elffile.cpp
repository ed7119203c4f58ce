#include "elffile.h"

#include "reasontext.h"

#include <QFile>
#include <QtEndian>

namespace kq {

namespace {

constexpr ReasonText NotElf{TextId::NotElf, u"%1 is not an ELF file"};
constexpr ReasonText NotElf64{TextId::NotElf64, u"%1 is not a 64-bit little-endian ELF file"};
constexpr ReasonText NoSectionTable{TextId::NoSectionTable, u"%1 has no readable section table"};

constexpr quint32 SectionDynamic = 6;
constexpr qint64 TagNull = 0;
constexpr qint64 TagNeeded = 1;
constexpr qint64 TagRunPath = 15;
constexpr qint64 TagNewRunPath = 29;
constexpr qsizetype HeaderSize = 64;
constexpr qsizetype SectionHeaderSize = 64;
constexpr qsizetype DynamicEntrySize = 16;

// Bounds-checked little-endian reads from the mapped file.
class Bytes
{
public:
    Bytes(const uchar *data, qint64 size) : mData(data), mSize(size) {}

    bool holds(quint64 offset, quint64 length) const
    {
        return offset <= quint64(mSize) && length <= quint64(mSize) - offset;
    }
    template <typename T> T read(quint64 offset) const
    {
        return holds(offset, sizeof(T)) ? qFromLittleEndian<T>(mData + offset) : T(0);
    }
    // A NUL-terminated text starting at offset inside [begin, begin + length).
    QString text(quint64 begin, quint64 length, quint64 offset) const
    {
        if (offset >= length || !holds(begin, length))
            return QString();
        const char *start = reinterpret_cast<const char *>(mData + begin + offset);
        return QString::fromUtf8(start, qstrnlen(start, length - offset));
    }

private:
    const uchar *mData;
    qint64 mSize;
};

struct Section
{
    quint32 name;
    quint32 type;
    quint64 offset;
    quint64 size;
    quint32 link;
};

Section sectionAt(const Bytes &bytes, quint64 at)
{
    return {bytes.read<quint32>(at), bytes.read<quint32>(at + 4), bytes.read<quint64>(at + 24),
            bytes.read<quint64>(at + 32), bytes.read<quint32>(at + 40)};
}

} // namespace

bool ElfFile::fail(const QString &reason)
{
    mError = reason;
    return false;
}

bool ElfFile::load(const QString &path)
{
    *this = ElfFile();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    const uchar *data = file.size() >= HeaderSize ? file.map(0, file.size()) : nullptr;
    if (!data || qstrncmp(reinterpret_cast<const char *>(data),
                          "\x7f"
                          "ELF",
                          4) != 0)
        return fail(NotElf.with({path}));
    if (data[4] != 2 || data[5] != 1)
        return fail(NotElf64.with({path}));
    const Bytes bytes(data, file.size());

    const quint64 table = bytes.read<quint64>(0x28);
    const quint16 count = bytes.read<quint16>(0x3c);
    const quint16 namesIndex = bytes.read<quint16>(0x3e);
    if (bytes.read<quint16>(0x3a) != SectionHeaderSize ||
        !bytes.holds(table, count * SectionHeaderSize))
        return fail(NoSectionTable.with({path}));
    QList<Section> sections;
    for (quint16 i = 0; i < count; ++i)
        sections.append(sectionAt(bytes, table + i * SectionHeaderSize));

    const Section names = namesIndex < count ? sections.at(namesIndex) : Section{};
    for (const Section &section : std::as_const(sections)) {
        mSectionNames.append(bytes.text(names.offset, names.size, section.name));
        if (section.type != SectionDynamic || section.link >= count)
            continue;
        const Section strings = sections.at(section.link);
        for (quint64 at = section.offset; at + DynamicEntrySize <= section.offset + section.size;
             at += DynamicEntrySize) {
            const auto tag = bytes.read<qint64>(at);
            const auto value = [&] {
                return bytes.text(strings.offset, strings.size, bytes.read<quint64>(at + 8));
            };
            if (tag == TagNull)
                break;
            if (tag == TagNeeded)
                mNeeded.append(value());
            else if (tag == TagRunPath)
                mRunPath = value();
            else if (tag == TagNewRunPath)
                mNewRunPath = value();
        }
    }
    return true;
}

} // namespace kq
