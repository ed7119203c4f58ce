#include "webpagebuilder.h"

#include "artwork.h"
#include "buildtarget.h"
#include "dialogproject.h"
#include "language.h"
#include "steptable.h"
#include "wholefile.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QRegularExpression>

static void initWebPageResources()
{
    Q_INIT_RESOURCE(webpage);
}

namespace kq {

namespace {

constexpr int IconSize = 32;

QString templateText(const QString &name)
{
    static const bool initialised = [] {
        initWebPageResources();
        return true;
    }();
    Q_UNUSED(initialised);
    QFile file(QStringLiteral(":/kq/web/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString pngData(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
}

// Fills the @@NAME@@ places of a template in one pass, so that nothing filled in is read as
// a place again.
QString filled(const QString &text, const QHash<QString, QString> &values)
{
    static const QRegularExpression place(QStringLiteral("@@([A-Z]+)@@"));
    QString result;
    qsizetype copied = 0;
    for (const QRegularExpressionMatch &match : place.globalMatch(text)) {
        result += QStringView(text).mid(copied, match.capturedStart() - copied);
        result += values.value(match.captured(1));
        copied = match.capturedEnd();
    }
    return result + text.mid(copied);
}

// JSON that can stand inside a script element: nothing in it can close the element or open a
// comment, and the two line separators JavaScript once refused in strings are escaped too.
QString scriptSafeJson(const QJsonObject &object)
{
    QString json = QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
    return json.replace(u'<', QStringLiteral("\\u003c"))
        .replace(u'>', QStringLiteral("\\u003e"))
        .replace(u'&', QStringLiteral("\\u0026"))
        .replace(QChar(0x2028), QStringLiteral("\\u2028"))
        .replace(QChar(0x2029), QStringLiteral("\\u2029"));
}

QString sha256Source(const QString &text)
{
    const QByteArray hash = QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("'sha256-") + QString::fromLatin1(hash.toBase64()) + u'\'';
}

// The style's icons, its bar and its button skins.
QString styleSheet(qint16 projectStyle)
{
    const QString css = filled(templateText(QStringLiteral("page.css")),
                               {{QStringLiteral("ICONS"), pngData(loadIconStrip(projectStyle))}});
    if (projectStyle != 1)
        return css;
    // Column 0 of the bar's picture is its frame, column 1 the fill, column 2 the track.
    const QImage bar = loadControlImage(QStringLiteral("barskin.png"));
    const auto column = [&bar](int x) { return pngData(bar.copy(x, 0, 1, bar.height())); };
    const auto art = [](const char *name) {
        return pngData(loadControlImage(QString::fromLatin1(name)));
    };
    return css + filled(templateText(QStringLiteral("skinned.css")),
                        {{QStringLiteral("BAREDGE"), column(0)},
                         {QStringLiteral("BARFILL"), column(1)},
                         {QStringLiteral("BARTRACK"), column(2)},
                         {QStringLiteral("BARLIGHT"), art("barlight.png")},
                         {QStringLiteral("SKINREST"), art("skin10.png")},
                         {QStringLiteral("SKINHOVER"), art("skin0.png")},
                         {QStringLiteral("SKINPRESSED"), art("skin1.png")}});
}

// The first window the run shows names the page; pauses before it show nothing.
const StepTable::Step *firstWindow(const StepTable &table)
{
    StepTable::Way way = table.start();
    for (qsizetype passed = 0; passed <= table.steps().size(); ++passed) {
        if (way.kind != StepTable::Way::Kind::Step)
            return nullptr;
        const StepTable::Step &step = *table.steps().at(way.step);
        if (step.type != DialogRecord::Pause)
            return &step;
        way = step.end;
    }
    return nullptr;
}

QString favicon(const StepTable &table)
{
    for (const std::optional<StepTable::Step> &step : table.steps()) {
        if (step && step->icon > 0) {
            const QImage cell = loadIconStrip(table.projectStyle())
                                    .copy(step->icon * IconSize, 0, IconSize, IconSize);
            return QStringLiteral("<link rel=\"icon\" href=\"%1\">").arg(pngData(cell));
        }
    }
    return {};
}

// The page speaks Russian when the texts its windows show have Cyrillic letters in them.
QString language(const StepTable &table)
{
    static const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
    for (const std::optional<StepTable::Step> &step : table.steps()) {
        const bool shown = step && step->type != DialogRecord::Pause;
        if (shown && (step->text.contains(cyrillic) || step->caption.contains(cyrillic)))
            return QStringLiteral("ru");
    }
    return QStringLiteral("en");
}

} // namespace

WebPageWords WebPageWords::ofLanguage()
{
    return {languageText(TextId::WebProgramEnded), languageText(TextId::WebProgramStopped),
            languageText(TextId::WebPlayAgain), languageText(TextId::WebClose),
            languageText(TextId::WebNeedsJavaScript)};
}

WebPageBuilder::WebPageBuilder(const DialogProject &project, WebPageWords words)
    : mProject(project), mWords(std::move(words))
{
}

QByteArray WebPageBuilder::page() const
{
    const StepTable table = StepTable::compile(mProject);
    QJsonObject data = table.toJson();
    data.insert(QStringLiteral("words"),
                QJsonObject{{QStringLiteral("ended"), mWords.ended},
                            {QStringLiteral("stopped"), mWords.stopped},
                            {QStringLiteral("playAgain"), mWords.playAgain},
                            {QStringLiteral("close"), mWords.close}});
    const QString style = styleSheet(table.projectStyle());
    const QString script = templateText(QStringLiteral("page.js"));
    // Only the page's own style and script may run; pictures come as data, nothing from anywhere.
    const QString policy =
        QStringLiteral("default-src 'none'; style-src %1; script-src %2; "
                       "img-src data:; base-uri 'none'; form-action 'none'; "
                       "require-trusted-types-for 'script'; trusted-types 'none'")
            .arg(sha256Source(style), sha256Source(script));
    const StepTable::Step *first = firstWindow(table);
    QString title = first ? first->caption : QString();
    if (title.trimmed().isEmpty())
        title = QFileInfo(mProject.path()).completeBaseName();
    const QString html =
        filled(templateText(QStringLiteral("page.html")),
               {{QStringLiteral("GENERATOR"), QLatin1String(WebPageMark)},
                {QStringLiteral("LANG"), language(table)},
                {QStringLiteral("CSP"), policy},
                {QStringLiteral("TITLE"), title.toHtmlEscaped()},
                {QStringLiteral("FAVICON"), favicon(table)},
                {QStringLiteral("LOOK"), QString::number(table.projectStyle() == 1 ? 1 : 0)},
                {QStringLiteral("NOSCRIPT"), mWords.noScript.toHtmlEscaped()},
                {QStringLiteral("STYLE"), style},
                {QStringLiteral("TABLE"), scriptSafeJson(data)},
                {QStringLiteral("SCRIPT"), script}});
    return html.toUtf8();
}

bool WebPageBuilder::write(const QString &path, QString *error) const
{
    return BuildTarget{BuildTarget::Kind::WebPage, path, mProject.path(), {}}.mayWrite(error) &&
           writeWholeFile(path, page(), error);
}

QString WebPageBuilder::pagePath(const QString &chosen)
{
    return QFileInfo(chosen).suffix().isEmpty() ? chosen + QStringLiteral(".html") : chosen;
}

} // namespace kq
