// Libraries depend one way only: project and resources below controls, controls below runner
// and editor; the model and the file readers use no widgets.

#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QTest>

namespace {

const QStringList Layers{"project", "resources", "controls", "runner", "editor"};

// The rank of each folder: a file may include headers of its own rank or below.
int rankOf(const QString &folder)
{
    if (folder == "project" || folder == "resources")
        return 0;
    return int(Layers.indexOf(folder)) - 1;
}

QStringList sourcesOf(const QString &folder)
{
    QDir dir(QStringLiteral(KQ_SOURCE_DIR) + "/" + folder);
    return dir.entryList({"*.h", "*.cpp"}, QDir::Files);
}

QStringList includesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression include("^\\s*#\\s*include\\s*[<\"]([^>\"]+)[>\"]",
                                            QRegularExpression::MultilineOption);
    QStringList names;
    auto matches = include.globalMatch(QString::fromUtf8(file.readAll()));
    while (matches.hasNext())
        names << matches.next().captured(1);
    return names;
}

} // namespace

class TestLayering : public QObject
{
    Q_OBJECT

private slots:
    void includesGoDownOnly_data();
    void includesGoDownOnly();
    void runnerLinksNoEditorCode();
};

void TestLayering::runnerLinksNoEditorCode()
{
    QFile list(QStringLiteral(KQ_SOURCE_DIR) + "/runner/CMakeLists.txt");
    QVERIFY(list.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(list.readAll());
    QVERIFY(text.contains("target_link_libraries"));
    QVERIFY(!text.contains("editorlib"));
}

void TestLayering::includesGoDownOnly_data()
{
    QTest::addColumn<QString>("folder");
    for (const QString &folder : Layers)
        QTest::newRow(qPrintable(folder)) << folder;
}

void TestLayering::includesGoDownOnly()
{
    QFETCH(QString, folder);
    QHash<QString, QString> homeOf;
    for (const QString &layer : Layers) {
        for (const QString &file : sourcesOf(layer))
            homeOf.insert(file, layer);
    }
    const QDir widgets(QLibraryInfo::path(QLibraryInfo::HeadersPath) + "/QtWidgets");
    QVERIFY(widgets.exists());

    QVERIFY(!sourcesOf(folder).isEmpty());
    for (const QString &file : sourcesOf(folder)) {
        const QStringList includes =
            includesOf(QStringLiteral(KQ_SOURCE_DIR) + "/" + folder + "/" + file);
        for (const QString &name : includes) {
            const QString home = homeOf.value(name);
            QVERIFY2(home.isEmpty() || rankOf(home) <= rankOf(folder),
                     qPrintable(folder + "/" + file + " includes " + home + "/" + name));
            // The model and the readers include no widget header; only the localisation of
            // a window's controls works on widgets.
            const bool model = folder == "project" ||
                               (folder == "resources" && !file.startsWith("localizecontrols"));
            QVERIFY2(!model || !widgets.exists(name),
                     qPrintable(folder + "/" + file + " includes the widget header " + name));
        }
    }
}

QTEST_GUILESS_MAIN(TestLayering)
#include "tst_layering.moc"
