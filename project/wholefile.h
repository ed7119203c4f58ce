#pragma once

#include <QByteArray>
#include <QString>

namespace kq {

// Replaces the file at path with bytes as one step: the old file stays whole unless every byte
// of the new one was written. False with a reason in *error (when given) otherwise.
bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *error = nullptr);

} // namespace kq
