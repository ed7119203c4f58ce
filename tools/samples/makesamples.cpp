// Writes the two English sample projects: a little quiz in the system look and a harmless
// "cleanup" prank in the skinned look.
#include "buttonscript.h"
#include "dialogproject.h"
#include "projectio.h"

#include <QDir>

#include <cstdio>

using namespace kq;

namespace {

enum Icon : qint16 { None, Error, Warning, Information, Question, Package };

struct Step
{
    DialogRecord::Type type;
    Icon icon;
    QString caption;
    QString text;
    QString btn1;
    QString btnscr1;
    QString btn2 = {};
    QString btnscr2 = ButtonScript::GoNext;
    qint16 time = 0;
};

bool write(const QString &path, int style, const QList<Step> &steps)
{
    DialogProject project;
    project.record(0).text = QString::number(style);
    for (int i = 0; i < steps.size(); ++i) {
        const Step &step = steps.at(i);
        project.newDialog(i + 1, step.text);
        DialogRecord &record = project.record(i + 1);
        record.type = step.type;
        record.ico = step.icon;
        record.caption = step.caption;
        record.btn1 = step.btn1;
        record.btn2 = step.btn2;
        record.btnscr1 = step.btnscr1;
        record.btnscr2 = step.btnscr2;
        record.time = step.time;
    }
    project.setDialogCount(qint16(steps.size()));
    QString error;
    if (!ProjectIO::saveProjectFile(project, path, &error)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(error));
        return false;
    }
    return true;
}

// Three questions; a wrong answer explains and goes back to its question.
QList<Step> quiz()
{
    using namespace ButtonScript;
    const QString title = QStringLiteral("Little Quiz");
    const QString again = QStringLiteral("Try again");
    const QString wrong = QStringLiteral("Not quite");
    return {
        {DialogRecord::Message, Information, title,
         QStringLiteral(
             "Welcome to the little quiz!\r\n\r\nThree questions, two answers each. Ready?"),
         QStringLiteral("Start"), GoNext, QStringLiteral("Not now"), Exit},
        {DialogRecord::Message, Question, QStringLiteral("Question 1 of 3"),
         QStringLiteral("Which is the largest planet of the Solar System?"),
         QStringLiteral("Saturn"), GoNext, QStringLiteral("Jupiter"), goTo(3)},
        {DialogRecord::Message, Warning, wrong,
         QStringLiteral("Saturn is big, but Jupiter is bigger:\r\nmore than a thousand Earths "
                        "would fit inside it."),
         again, GoBack},
        {DialogRecord::Message, Question, QStringLiteral("Question 2 of 3"),
         QStringLiteral("How many legs does a spider have?"), QStringLiteral("Eight"), goTo(5),
         QStringLiteral("Six"), GoNext},
        {DialogRecord::Message, Warning, wrong,
         QStringLiteral("Six legs make an insect.\r\nA spider walks on eight."), again, GoBack},
        {DialogRecord::Message, Question, QStringLiteral("Question 3 of 3"),
         QStringLiteral("What do bees make?"), QStringLiteral("Maple syrup"), GoNext,
         QStringLiteral("Honey"), goTo(7)},
        {DialogRecord::Message, Warning, wrong,
         QStringLiteral("Maple syrup comes from maple trees.\r\nBees make honey."), again, GoBack},
        {DialogRecord::Progress,
         Information,
         title,
         QStringLiteral("Counting your points..."),
         {},
         GoNext,
         {},
         GoNext,
         3},
        {DialogRecord::Message, Information, title,
         QStringLiteral("Three out of three. Well done!\r\n\r\nThanks for playing."),
         QStringLiteral("Hooray!"), Exit, QStringLiteral("Play again"), goTo(0)},
    };
}

// A tidy-up of the desk drawer, step by step, with a way out at every step.
QList<Step> deskCleanup()
{
    using namespace ButtonScript;
    const QString title = QStringLiteral("Desk Cleanup");
    const QString stop = QStringLiteral("Stop");
    return {
        {DialogRecord::Message, Question, title,
         QStringLiteral("Your desk drawer has not been tidied for 312 days.\r\n"
                        "Shall I clean it up now?"),
         QStringLiteral("Clean up"), GoNext, QStringLiteral("Later"), goTo(5)},
        {DialogRecord::Progress,
         Package,
         title,
         QStringLiteral("Sorting pencils by length..."),
         stop,
         goTo(5),
         {},
         GoNext,
         3},
        {DialogRecord::Progress,
         Package,
         title,
         QStringLiteral("Matching lost socks..."),
         stop,
         goTo(5),
         {},
         GoNext,
         4},
        {DialogRecord::Pause, None, {}, {}, {}, GoNext, {}, GoNext, 1},
        {DialogRecord::Message, Information, title,
         QStringLiteral("All done! Found 3 paper clips, 2 coins\r\nand one sock of every colour."
                        "\r\n\r\nHave a tidy day :)"),
         QStringLiteral("Thanks"), Exit},
        {DialogRecord::Message, Information, title,
         QStringLiteral("All right, the drawer stays as it is.\r\nThe socks will wait."),
         QStringLiteral("OK"), Exit},
    };
}

} // namespace

int main(int argc, char **argv)
{
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    const bool ok = write(out.filePath(QStringLiteral("Quiz.dlg2")), 0, quiz()) &&
                    write(out.filePath(QStringLiteral("DeskCleanup.dlg2")), 1, deskCleanup());
    return ok ? 0 : 1;
}
