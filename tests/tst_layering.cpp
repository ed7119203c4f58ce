// Libraries depend one way only: project below resources, resources below controls, controls below
// the runner and the editor's windows; the editor's core below its windows. The controls'
// artwork, Qt Gui only, lies below both the controls and the editor's core. Checked twice: the
// link dependencies CMake really resolved (its file API reply in the build folder), and the
// headers each folder includes.

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QTest>

namespace {

// Folders from the bottom up; a file may include headers of its own rank or below.
const QList<QPair<QString, int>> Folders{
    {"project", 0},
    {"resources", 1},
    {"controls/art", 1},
    {"controls", 2},
    {"runner", 3},
    {"editor/core", 2},
    {"editor/common", 3},
    {"editor/flow", 4},
    {"editor/management", 4},
    {"editor/preview", 4},
    {"editor/mainwindow", 5},
    {"editor/app", 6},
};

struct Target
{
    QStringList dependencies; // names of the targets it links, directly or not
    QStringList includes;     // include directories of its compile groups
    QString linkLine;         // an executable's link command fragments
};

QJsonObject readJson(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

// Every target of the build, read from the codemodel reply of CMake's file API.
QHash<QString, Target> readTargets()
{
    const QDir reply(QStringLiteral(KQ_BINARY_DIR "/.cmake/api/v1/reply"));
    const QStringList indexes = reply.entryList({"index-*.json"}, QDir::Files, QDir::Name);
    if (indexes.isEmpty())
        return {};
    const QJsonObject index = readJson(reply.filePath(indexes.last()));
    QString codemodel;
    for (const QJsonValue &object : index["objects"].toArray()) {
        if (object["kind"].toString() == "codemodel")
            codemodel = object["jsonFile"].toString();
    }
    const QJsonObject model = readJson(reply.filePath(codemodel));
    const QJsonArray targets = model["configurations"][0]["targets"].toArray();
    QHash<QString, QString> nameOfId;
    for (const QJsonValue &target : targets)
        nameOfId.insert(target["id"].toString(), target["name"].toString());

    QHash<QString, Target> result;
    for (const QJsonValue &entry : targets) {
        const QJsonObject json = readJson(reply.filePath(entry["jsonFile"].toString()));
        Target target;
        for (const QJsonValue &dependency : json["dependencies"].toArray())
            target.dependencies << nameOfId.value(dependency["id"].toString());
        for (const QJsonValue &group : json["compileGroups"].toArray()) {
            for (const QJsonValue &include : group["includes"].toArray())
                target.includes << include["path"].toString();
        }
        for (const QJsonValue &fragment : json["link"]["commandFragments"].toArray())
            target.linkLine += fragment["fragment"].toString() + u' ';
        result.insert(entry["name"].toString(), target);
    }
    return result;
}

// The target and every target it depends on, however indirectly.
QStringList closureOf(const QString &name, const QHash<QString, Target> &targets)
{
    QStringList seen{name};
    for (qsizetype i = 0; i < seen.size(); ++i) {
        for (const QString &dependency : targets.value(seen.at(i)).dependencies) {
            if (!seen.contains(dependency))
                seen << dependency;
        }
    }
    return seen;
}

bool usesQtModule(const Target &target, const QString &module)
{
    const QString headers = QLibraryInfo::path(QLibraryInfo::HeadersPath) + "/" + module;
    return target.includes.contains(headers);
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

QStringList sourcesOf(const QString &folder)
{
    return QDir(QStringLiteral(KQ_SOURCE_DIR) + "/" + folder)
        .entryList({"*.h", "*.cpp"}, QDir::Files);
}

} // namespace

class TestLayering : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void linksGoDownOnly_data();
    void linksGoDownOnly();
    void programsLinkTheirLayersOnly_data();
    void programsLinkTheirLayersOnly();
    void includesGoDownOnly_data();
    void includesGoDownOnly();

private:
    QHash<QString, Target> mTargets;
};

void TestLayering::initTestCase()
{
    mTargets = readTargets();
    QVERIFY2(mTargets.contains("editorcore") && mTargets.contains("run"),
             "no codemodel reply of CMake's file API in the build folder");
}

void TestLayering::linksGoDownOnly_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("forbiddenTargets");
    QTest::addColumn<QStringList>("forbiddenQtModules");
    const QStringList editor{"editorcore", "editorui"};
    QTest::newRow("project") << "project"
                             << QStringList{"resources", "controls", "runnerlib"} + editor
                             << QStringList{"QtGui", "QtWidgets"};
    QTest::newRow("resources") << "resources" << QStringList{"controls", "runnerlib"} + editor
                               << QStringList{"QtWidgets"};
    QTest::newRow("controls' artwork")
        << "controlsart" << QStringList{"resources", "controls", "runnerlib"} + editor
        << QStringList{"QtWidgets"};
    QTest::newRow("controls") << "controls" << QStringList{"runnerlib"} + editor << QStringList{};
    QTest::newRow("runner") << "runnerlib" << editor << QStringList{};
    QTest::newRow("editor core") << "editorcore" << QStringList{"controls", "runnerlib", "editorui"}
                                 << QStringList{"QtWidgets"};
}

void TestLayering::linksGoDownOnly()
{
    QFETCH(QString, target);
    QFETCH(QStringList, forbiddenTargets);
    QFETCH(QStringList, forbiddenQtModules);
    QVERIFY(mTargets.contains(target));
    const QStringList links = closureOf(target, mTargets);
    for (const QString &forbidden : forbiddenTargets)
        QVERIFY2(!links.contains(forbidden), qPrintable(target + " links " + forbidden));
    for (const QString &module : forbiddenQtModules)
        QVERIFY2(!usesQtModule(mTargets.value(target), module),
                 qPrintable(target + " uses " + module));
}

void TestLayering::programsLinkTheirLayersOnly_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("forbiddenLibraries");
    // The editor shows and plays the runner's windows from the runner's library; the runner
    // links none of the editor's.
    QTest::newRow("run") << "run" << QStringList{"libeditorcore.a", "libeditorui.a"};
    QTest::newRow("portable run") << "run-portable"
                                  << QStringList{"libeditorcore.a", "libeditorui.a"};
}

void TestLayering::programsLinkTheirLayersOnly()
{
    QFETCH(QString, program);
    QFETCH(QStringList, forbiddenLibraries);
    const QString linkLine = mTargets.value(program).linkLine;
    QVERIFY2(linkLine.contains(".a "), qPrintable(program + " links no library: " + linkLine));
    for (const QString &library : forbiddenLibraries)
        QVERIFY2(!linkLine.contains(library), qPrintable(program + " links " + library));
}

void TestLayering::includesGoDownOnly_data()
{
    QTest::addColumn<QString>("folder");
    for (const auto &[folder, rank] : Folders)
        QTest::newRow(qPrintable(folder)) << folder;
}

void TestLayering::includesGoDownOnly()
{
    QFETCH(QString, folder);
    QHash<QString, QString> homeOf;
    QHash<QString, int> rankOf;
    for (const auto &[layer, rank] : Folders) {
        rankOf.insert(layer, rank);
        for (const QString &file : sourcesOf(layer))
            homeOf.insert(file, layer);
    }
    const QDir widgets(QLibraryInfo::path(QLibraryInfo::HeadersPath) + "/QtWidgets");
    QVERIFY(widgets.exists());
    // The model, the readers and the editor's core include no widget header.
    const bool widgetFree = folder == "project" || folder == "resources" || folder == "editor/core";

    QVERIFY(!sourcesOf(folder).isEmpty());
    for (const QString &file : sourcesOf(folder)) {
        const QStringList includes =
            includesOf(QStringLiteral(KQ_SOURCE_DIR) + "/" + folder + "/" + file);
        for (const QString &name : includes) {
            const QString home = homeOf.value(name);
            // Folders of one rank side by side (the flow and management windows) stay apart.
            const bool below =
                home.isEmpty() || home == folder || rankOf.value(home) < rankOf.value(folder);
            QVERIFY2(below, qPrintable(folder + "/" + file + " includes " + home + "/" + name));
            QVERIFY2(!widgetFree || !widgets.exists(name),
                     qPrintable(folder + "/" + file + " includes the widget header " + name));
        }
    }
}

QTEST_GUILESS_MAIN(TestLayering)
#include "tst_layering.moc"
