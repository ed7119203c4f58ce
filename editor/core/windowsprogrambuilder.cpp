#include "windowsprogrambuilder.h"

#include "artwork.h"
#include "buildtarget.h"
#include "dialogproject.h"
#include "failure.h"
#include "language.h"
#include "mnemonic.h"
#include "programfolder.h"
#include "reasontext.h"
#include "steptable.h"
#include "tableformat.h"
#include "wholefile.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QtEndian>

namespace kq {

namespace {

namespace Format = WindowsTable;
using Way = StepTable::Way;

constexpr ReasonText PlayerMissing{
    TextId::WindowsPlayerMissing,
    u"%1 is missing: this installation of the editor cannot build for Windows"};

// Writes the table's values in the order and the form tableformat.h gives.
class TableWriter
{
public:
    void raw(const char *bytes, int size) { mBytes.append(bytes, size); }

    void integer(qint32 value)
    {
        char bytes[4];
        qToLittleEndian(value, bytes);
        mBytes.append(bytes, 4);
    }

    void text(const QString &value)
    {
        integer(qint32(value.size()));
        for (const QChar c : value)
            integer16(c.unicode());
    }

    void way(const Way &way, const QString &stopped)
    {
        switch (way.kind) {
        case Way::Kind::Step:
            integer(Format::WayStep);
            integer(way.step);
            return;
        case Way::Kind::Stays:
            integer(Format::WayStays);
            integer(-1);
            return;
        case Way::Kind::Fault:
            integer(Format::WayFault);
            integer(-1);
            text(stopped.arg(way.fault));
            return;
        case Way::Kind::End:
            break;
        }
        integer(Format::WayEnd);
        integer(-1);
    }

    void picture(const QImage &image)
    {
        const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
        integer(pixels.width());
        integer(pixels.height());
        for (int y = 0; y < pixels.height(); ++y) {
            const auto *row = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
            for (int x = 0; x < pixels.width(); ++x)
                integer(qint32(row[x]));
        }
    }

    QByteArray bytes() const { return mBytes; }

private:
    void integer16(char16_t value)
    {
        char bytes[2];
        qToLittleEndian(quint16(value), bytes);
        mBytes.append(bytes, 2);
    }

    QByteArray mBytes;
};

// The icon strip of the style, and in the skinned style the buttons' and the bar's pictures, in
// the order of WindowsTable::Picture.
QList<QImage> pictures(qint16 projectStyle)
{
    const QImage strip = loadIconStrip(projectStyle);
    if (strip.isNull())
        return {};
    if (projectStyle != Format::SkinnedStyle)
        return {strip};
    return {strip,
            loadControlImage(QStringLiteral("skin10.png")),
            loadControlImage(QStringLiteral("skin0.png")),
            loadControlImage(QStringLiteral("skin1.png")),
            loadControlImage(QStringLiteral("barskin.png")),
            loadControlImage(QStringLiteral("barlight.png"))};
}

void writeStep(TableWriter &out, const StepTable::Step &step, const QString &stopped)
{
    out.integer(step.type);
    out.text(step.caption);
    out.text(step.text);
    out.integer(step.icon);
    out.integer(qint32(step.buttons.size()));
    for (const StepTable::Button &button : step.buttons) {
        out.text(button.caption);
        out.text(splitMnemonic(button.caption).key);
        out.way(button.way, stopped);
    }
    out.way(step.closeBox, stopped);
    out.way(step.end, stopped);
    out.integer(step.interval);
}

bool isPlayerImage(const QByteArray &head)
{
    return head.startsWith("MZ");
}

} // namespace

WindowsProgramWords WindowsProgramWords::ofLanguage()
{
    return {languageText(TextId::WindowsProgramStopped)};
}

QString windowsPlayerProgram()
{
    return programPath(QStringLiteral("Runner/windows-player.exe"));
}

WindowsProgramBuilder::WindowsProgramBuilder(const DialogProject &project,
                                             WindowsProgramWords words)
    : mProject(project), mWords(std::move(words))
{
}

QByteArray WindowsProgramBuilder::table(const QString &programName) const
{
    const StepTable table = StepTable::compile(mProject);
    TableWriter out;
    out.raw(Format::TableMagic, sizeof(Format::TableMagic));
    out.integer(table.projectStyle());
    out.way(table.start(), mWords.stopped);
    out.text(programName);
    const QList<QImage> art = pictures(table.projectStyle());
    out.integer(qint32(art.size()));
    for (const QImage &picture : art)
        out.picture(picture);
    out.integer(qint32(table.steps().size()));
    for (const std::optional<StepTable::Step> &step : table.steps()) {
        out.integer(step ? 1 : 0);
        if (step)
            writeStep(out, *step, mWords.stopped);
    }
    QByteArray bytes = out.bytes();
    TableWriter trailer;
    trailer.integer(qint32(bytes.size()));
    trailer.raw(Format::TrailerMagic, sizeof(Format::TrailerMagic));
    return bytes + trailer.bytes();
}

bool WindowsProgramBuilder::write(const QString &path, const QString &playerPath,
                                  QString *error) const
{
    if (!BuildTarget{BuildTarget::Kind::WindowsProgram, path, mProject.path(), playerPath}.mayWrite(
            error))
        return false;
    QFile player(playerPath);
    const QByteArray image = player.open(QIODevice::ReadOnly) ? player.readAll() : QByteArray();
    if (!isPlayerImage(image))
        return failWith(error, PlayerMissing.with({playerPath}));
    return writeWholeFile(path, image + table(QFileInfo(path).completeBaseName()), error);
}

QString WindowsProgramBuilder::programPath(const QString &chosen)
{
    return QFileInfo(chosen).suffix().isEmpty() ? chosen + QStringLiteral(".exe") : chosen;
}

} // namespace kq
