#pragma once

#include <QString>
#include <QtGlobal>

// The offscreen platform keeps the opacity set but warns about it at every step. Tests of fading
// windows install quietOpacityWarnings and keep the handler it replaces in gOuterHandler.
inline QtMessageHandler gOuterHandler = nullptr;

inline void quietOpacityWarnings(QtMsgType type, const QMessageLogContext &context,
                                 const QString &text)
{
    if (!text.contains(QStringLiteral("does not support setting window opacity")))
        gOuterHandler(type, context, text);
}
