#include "stepclipboard.h"

#include "dialogproject.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>

namespace kq::StepClipboard {

namespace {

const QByteArray Magic = QByteArrayLiteral("KQSTEPS1");
constexpr int LongestOrigin = 64;

// A record's line breaks as spaces: one step, one line.
QString oneLine(const QString &field)
{
    QString line = trimmedRight(field);
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

bool validNumbers(const QList<int> &numbers)
{
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        if (numbers.at(i) < 0 || numbers.at(i) >= DialogProject::MaxDialogs ||
            (i > 0 && numbers.at(i) <= numbers.at(i - 1)))
            return false;
    }
    return true;
}

} // namespace

QByteArray encode(const CopiedSteps &steps)
{
    QByteArray bytes = Magic;
    QDataStream stream(&bytes, QIODevice::Append);
    stream.setVersion(QDataStream::Qt_6_0);
    stream << steps.origin << quint16(steps.records.size());
    for (qsizetype i = 0; i < steps.records.size(); ++i) {
        stream << qint16(steps.numbers.value(i));
        const QByteArray record = steps.records.at(i).toBytes();
        stream.writeRawData(record.constData(), int(record.size()));
    }
    return bytes;
}

std::optional<CopiedSteps> decode(const QByteArray &bytes)
{
    if (!bytes.startsWith(Magic))
        return std::nullopt;
    QDataStream stream(bytes.mid(Magic.size()));
    stream.setVersion(QDataStream::Qt_6_0);
    CopiedSteps steps;
    quint16 count = 0;
    stream >> steps.origin >> count;
    if (stream.status() != QDataStream::Ok || steps.origin.size() > LongestOrigin || count < 1 ||
        count > DialogProject::MaxDialogs)
        return std::nullopt;
    QByteArray record(DialogRecord::Size, '\0');
    for (int i = 0; i < count; ++i) {
        qint16 number = 0;
        stream >> number;
        if (stream.readRawData(record.data(), DialogRecord::Size) != DialogRecord::Size)
            return std::nullopt;
        steps.numbers << number;
        steps.records << DialogRecord::fromBytes(record);
    }
    // Anything after the last record is not ours either.
    if (stream.status() != QDataStream::Ok || !stream.atEnd() || !validNumbers(steps.numbers))
        return std::nullopt;
    return steps;
}

QString plainText(const CopiedSteps &steps)
{
    QString text;
    for (qsizetype i = 0; i < steps.records.size(); ++i) {
        const DialogRecord &record = steps.records.at(i);
        text += QString::number(steps.numbers.value(i)) + u'\t' + oneLine(record.caption) + u'\t' +
                oneLine(record.text) + u'\n';
    }
    return text;
}

QMimeData *toMimeData(const CopiedSteps &steps)
{
    auto *data = new QMimeData;
    data->setData(MimeType, encode(steps));
    data->setText(plainText(steps));
    return data;
}

bool holdsSteps(const QMimeData *data)
{
    return data && data->hasFormat(MimeType);
}

std::optional<CopiedSteps> fromMimeData(const QMimeData *data)
{
    if (!holdsSteps(data))
        return std::nullopt;
    return decode(data->data(MimeType));
}

} // namespace kq::StepClipboard
