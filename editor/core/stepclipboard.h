#pragma once

#include "dialogrecord.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

class QMimeData;

namespace kq {

// Steps taken out of a project, as copy, cut, duplicate and drag carry them.
struct CopiedSteps
{
    // The mark of the document and the moment they were copied at, by which a document knows its
    // own steps again; any other mark is another project's.
    QByteArray origin;
    // Their numbers in their project when they were copied (from 0), in list order.
    QList<int> numbers;
    QList<DialogRecord> records;
};

// The steps on the system clipboard and in a drag: a type of our own that holds the records in
// the project file's own encoding, so nothing is lost or converted between two editors, and
// plain text (one line a step: number, caption, text) for any other program.
namespace StepClipboard {

inline const QString MimeType = QStringLiteral("application/x-kestrane-quorvex-steps");

QMimeData *toMimeData(const CopiedSteps &steps);
// Nothing for contents that are not ours or not whole: the list ignores them.
std::optional<CopiedSteps> fromMimeData(const QMimeData *data);
bool holdsSteps(const QMimeData *data);

QByteArray encode(const CopiedSteps &steps);
std::optional<CopiedSteps> decode(const QByteArray &bytes);
QString plainText(const CopiedSteps &steps);

} // namespace StepClipboard

} // namespace kq
