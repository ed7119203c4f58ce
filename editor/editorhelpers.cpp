#include "editorhelpers.h"

#include "language.h"
#include "programfolder.h"
#include "uiservices.h"

#include <QFileInfo>
#include <QPushButton>
#include <QUrl>

// The pictures live in a static library, so nothing would pull them in without these calls.
static void initEditorResources()
{
    Q_INIT_RESOURCE(mainwindow);
    Q_INIT_RESOURCE(management);
    Q_INIT_RESOURCE(splash);
}

namespace kq::editor {

QFont fixedPitchFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

QPixmap artwork(const QString &path)
{
    static const bool initialised = [] {
        initEditorResources();
        return true;
    }();
    Q_UNUSED(initialised);
    return QPixmap(QStringLiteral(":/kq/editor/") + path);
}

QPushButton *pictureButton(const QString &name, const QString &picture, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(name);
    button->setIcon(artwork(picture));
    button->setIconSize(QSize(16, 16));
    button->setFixedSize(30, 26);
    button->setAutoDefault(false);
    return button;
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

void openReadme(UiServices &ui)
{
    const QString readme = programPath(QStringLiteral("readme.txt"));
    if (QFileInfo(readme).isFile())
        ui.openUrl(QUrl::fromLocalFile(readme));
}

void warnFailed(UiServices &ui, QWidget *parent, const QString &reason)
{
    const QString text = ResString(QStringLiteral("%0020"));
    ui.message(parent, text, text, UiServices::Icon::Warning, UiServices::Buttons::Ok, reason);
}

QString undoEntryText(const QString &id, const QString &commandText)
{
    const QString entry = ResString(id);
    return commandText.isEmpty() ? entry : entry + QStringLiteral(" (") + commandText + u')';
}

} // namespace kq::editor
