// Libraries depend one way only, as a graph of the dependencies allowed: which folder's headers
// each folder may include, and so which library each library may link. Checked twice: on the link
// dependencies CMake really resolved (its file API reply in the build folder) and on the headers
// each folder includes. A folder with sources or a target of the build that the graph does not
// know fails, so that a new one is placed on purpose.

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QTest>

namespace {

const QStringList EveryQtModule{"QtCore", "QtGui", "QtWidgets"};
const QStringList QtGuiOnly{"QtCore", "QtGui"};

// One folder of program code: the targets its sources build, the folders whose headers it may
// include directly (and, through them, what those may), and the Qt modules it may use.
struct Layer
{
    QString folder;
    QStringList targets;
    QStringList uses;
    QStringList qtModules;
};

const QList<Layer> Graph{
    // The model: records, project files, scripts, the check; Qt Core only.
    {"project", {"project"}, {}, {"QtCore"}},
    {"resources", {"resources"}, {"project"}, QtGuiOnly},
    // The controls' artwork, Qt Gui only, below both the controls and the editor's core.
    {"controls/art", {"controlsart", "drawart"}, {}, QtGuiOnly},
    {"controls", {"controls"}, {"resources", "controls/art"}, EveryQtModule},
    {"runner", {"runnerlib", "run", "run-portable"}, {"controls"}, EveryQtModule},
    // The Windows player, Win32 only; the editor's core writes the step table in its format.
    {"winplayer", {}, {}, {}},
    {"editor/core", {"editorcore"}, {"resources", "controls/art", "winplayer"}, QtGuiOnly},
    {"editor/common", {"editorui"}, {"editor/core", "controls"}, EveryQtModule},
    // The flow picture draws the editor core's flow plan, which takes what a step does from the
    // model; it includes no runner header: only the preview shows the runner's windows.
    {"editor/flow", {"editorui"}, {"editor/common"}, EveryQtModule},
    {"editor/management", {"editorui"}, {"editor/common"}, EveryQtModule},
    // The preview shows the runner's own step windows and plays them with its step loop.
    {"editor/preview", {"editorui"}, {"editor/common", "runner"}, EveryQtModule},
    {"editor/mainwindow",
     {"editorui"},
     {"editor/flow", "editor/management", "editor/preview"},
     EveryQtModule},
    {"editor/app", {"tavlen"}, {"editor/mainwindow"}, EveryQtModule},
    // The programs that drew the checked-in pictures and wrote the English samples.
    {"desktop/art", {"drawicon"}, {}, QtGuiOnly},
    {"editor/mainwindow/art", {"drawmainwindow"}, {}, QtGuiOnly},
    {"editor/management/art", {"drawmanagement"}, {}, QtGuiOnly},
    {"editor/app/art", {"drawsplash"}, {}, QtGuiOnly},
    {"tools/samples", {"makesamples"}, {"project"}, {"QtCore"}},
};

// Tests and measuring code, which may use every library.
const QStringList FreeFolders{"tests", "tests/data/libraries", "benchmarks", "fuzz"};

const Layer *layerOf(const QString &folder)
{
    for (const Layer &layer : Graph) {
        if (layer.folder == folder)
            return &layer;
    }
    return nullptr;
}

// The folder and every folder it may include, however indirectly.
QStringList reachableFolders(const QString &folder)
{
    QStringList reached{folder};
    for (qsizetype i = 0; i < reached.size(); ++i) {
        for (const QString &used : layerOf(reached.at(i))->uses) {
            if (!reached.contains(used))
                reached << used;
        }
    }
    return reached;
}

// The targets a target may link, itself among them: those of the folders its folders reach.
QStringList allowedTargets(const QString &target)
{
    QStringList allowed;
    for (const Layer &layer : Graph) {
        if (!layer.targets.contains(target))
            continue;
        for (const QString &folder : reachableFolders(layer.folder))
            allowed += layerOf(folder)->targets;
    }
    allowed.removeDuplicates();
    return allowed;
}

QStringList allowedQtModules(const QString &target)
{
    QStringList modules;
    for (const Layer &layer : Graph) {
        if (layer.targets.contains(target))
            modules += layer.qtModules;
    }
    modules.removeDuplicates();
    return modules;
}

QStringList graphTargets()
{
    QStringList targets;
    for (const Layer &layer : Graph)
        targets += layer.targets;
    targets.removeDuplicates();
    return targets;
}

struct Target
{
    QString type;             // STATIC_LIBRARY, EXECUTABLE, UTILITY, ...
    QString sourceFolder;     // of the CMakeLists.txt that makes it
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
        target.type = json["type"].toString();
        target.sourceFolder = json["paths"]["source"].toString();
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

// What a target may be linked with: a library. The code generators (utility targets) and the
// programs it waits for (the editor copies the runner) are no links.
bool isLibrary(const Target &target)
{
    return target.type.endsWith(u"_LIBRARY");
}

// The target and every library it links, however indirectly.
QStringList closureOf(const QString &name, const QHash<QString, Target> &targets)
{
    QStringList seen{name};
    for (qsizetype i = 0; i < seen.size(); ++i) {
        for (const QString &dependency : targets.value(seen.at(i)).dependencies) {
            if (!seen.contains(dependency) && isLibrary(targets.value(dependency)))
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

// Every folder of the source tree that holds C++ sources, build folders left out.
QStringList foldersWithSources()
{
    const QDir root(QStringLiteral(KQ_SOURCE_DIR));
    QStringList folders;
    QStringList pending{QString()};
    while (!pending.isEmpty()) {
        const QString folder = pending.takeFirst();
        const QDir dir(root.filePath(folder));
        if (QFileInfo::exists(dir.filePath("CMakeCache.txt")))
            continue;
        if (!folder.isEmpty() && !sourcesOf(folder).isEmpty())
            folders << folder;
        for (const QString &sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            pending << (folder.isEmpty() ? sub : folder + "/" + sub);
    }
    return folders;
}

} // namespace

class TestLayering : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyFolderIsPlaced();
    void everyTargetIsPlaced();
    void linksFollowTheGraph_data();
    void linksFollowTheGraph();
    void programsLinkAllowedLibrariesOnly_data();
    void programsLinkAllowedLibrariesOnly();
    void includesFollowTheGraph_data();
    void includesFollowTheGraph();

private:
    QHash<QString, Target> mTargets;
};

void TestLayering::initTestCase()
{
    mTargets = readTargets();
    QVERIFY2(mTargets.contains("editorcore") && mTargets.contains("run"),
             "no codemodel reply of CMake's file API in the build folder");
}

void TestLayering::everyFolderIsPlaced()
{
    const QStringList folders = foldersWithSources();
    QVERIFY(folders.contains("editor/core"));
    for (const QString &folder : folders)
        QVERIFY2(layerOf(folder) || FreeFolders.contains(folder),
                 qPrintable(folder + " is in no layer of the graph"));
}

void TestLayering::everyTargetIsPlaced()
{
    const QStringList placed = graphTargets();
    for (auto it = mTargets.cbegin(); it != mTargets.cend(); ++it) {
        if (it->type == u"UTILITY" || FreeFolders.contains(it->sourceFolder))
            continue;
        QVERIFY2(placed.contains(it.key()), qPrintable(it.key() + " is in no layer of the graph"));
    }
    for (const QString &target : placed)
        QVERIFY2(mTargets.contains(target), qPrintable(target + " is no target of the build"));
}

void TestLayering::linksFollowTheGraph_data()
{
    QTest::addColumn<QString>("target");
    for (const QString &target : graphTargets())
        QTest::newRow(qPrintable(target)) << target;
}

void TestLayering::linksFollowTheGraph()
{
    QFETCH(QString, target);
    QVERIFY(mTargets.contains(target));
    const QStringList allowed = allowedTargets(target);
    for (const QString &linked : closureOf(target, mTargets))
        QVERIFY2(allowed.contains(linked), qPrintable(target + " links " + linked));
    const QStringList modules = allowedQtModules(target);
    for (const QString &module : EveryQtModule) {
        if (!modules.contains(module))
            QVERIFY2(!usesQtModule(mTargets.value(target), module),
                     qPrintable(target + " uses " + module));
    }
}

void TestLayering::programsLinkAllowedLibrariesOnly_data()
{
    QTest::addColumn<QString>("program");
    for (const QString &target : graphTargets()) {
        if (mTargets.value(target).type == u"EXECUTABLE")
            QTest::newRow(qPrintable(target)) << target;
    }
}

// The link line itself, whatever the dependencies say: its static libraries are the allowed ones.
void TestLayering::programsLinkAllowedLibrariesOnly()
{
    QFETCH(QString, program);
    const QString linkLine = mTargets.value(program).linkLine;
    const QStringList allowed = allowedTargets(program);
    // The libraries CMake resolved are on the line, so that reading it finds them.
    const QStringList linked = closureOf(program, mTargets);
    QCOMPARE(linkLine.contains(".a "), linked.size() > 1);
    static const QRegularExpression library("(?:^|[ /])lib([\\w-]+)\\.a ");
    for (const QRegularExpressionMatch &match : library.globalMatch(linkLine))
        QVERIFY2(allowed.contains(match.captured(1)),
                 qPrintable(program + " links lib" + match.captured(1) + ".a"));
}

void TestLayering::includesFollowTheGraph_data()
{
    QTest::addColumn<QString>("folder");
    for (const Layer &layer : Graph)
        QTest::newRow(qPrintable(layer.folder)) << layer.folder;
}

void TestLayering::includesFollowTheGraph()
{
    QFETCH(QString, folder);
    QHash<QString, QString> homeOf;
    for (const Layer &layer : Graph) {
        for (const QString &file : sourcesOf(layer.folder))
            homeOf.insert(file, layer.folder);
    }
    const QDir widgets(QLibraryInfo::path(QLibraryInfo::HeadersPath) + "/QtWidgets");
    QVERIFY(widgets.exists());
    const bool widgetFree = !layerOf(folder)->qtModules.contains("QtWidgets");
    const QStringList reachable = reachableFolders(folder);

    QVERIFY(!sourcesOf(folder).isEmpty());
    for (const QString &file : sourcesOf(folder)) {
        const QStringList includes =
            includesOf(QStringLiteral(KQ_SOURCE_DIR) + "/" + folder + "/" + file);
        for (const QString &name : includes) {
            const QString home = homeOf.value(name);
            QVERIFY2(home.isEmpty() || reachable.contains(home),
                     qPrintable(folder + "/" + file + " includes " + home + "/" + name));
            QVERIFY2(!widgetFree || !widgets.exists(name),
                     qPrintable(folder + "/" + file + " includes the widget header " + name));
        }
    }
}

QTEST_GUILESS_MAIN(TestLayering)
#include "tst_layering.moc"
