#include "editorhelpers.h"

#include "language.h"
#include "uiservices.h"

namespace kq::editor {

QFont fixedPitchFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

QString toBoxText(const QString &recordText)
{
    QString text = recordText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

QString toRecordText(const QString &boxText)
{
    QString text = boxText;
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

void warnFailed(UiServices &ui, QWidget *parent)
{
    const QString text = ResString(QStringLiteral("%0020"));
    ui.message(parent, text, text, UiServices::Icon::Warning, UiServices::Buttons::Ok);
}

} // namespace kq::editor
