#pragma once

// Projects written in short for the tests of list operations and their go-to targets: steps as
// "text script1 script2", the scripts in short.

#include "buttonscript.h"
#include "dialogproject.h"

#include <QStringList>

namespace kq::ScriptShorthand {

// "K05" is "Идти К 05", "k05" the same typed small, N next, B back, X exit; anything else stands
// for itself.
inline QString scriptOf(const QString &code)
{
    if (code == "N")
        return ButtonScript::GoNext;
    if (code == "B")
        return ButtonScript::GoBack;
    if (code == "X")
        return ButtonScript::Exit;
    if (code.size() == 3 && code.at(0) == u'K')
        return ButtonScript::GoToPrefix + code.mid(1);
    if (code.size() == 3 && code.at(0) == u'k')
        return QStringLiteral("идти к ") + code.mid(1);
    return code;
}

// Steps as "text script1 script2"; "*n" stands for n steps "Fk N N".
inline DialogProject projectOfSteps(const QStringList &steps)
{
    QStringList all;
    for (const QString &step : steps) {
        if (!step.startsWith(u'*')) {
            all << step;
            continue;
        }
        for (int k = 0; k < step.mid(1).toInt(); ++k)
            all << QStringLiteral("F%1 N N").arg(k);
    }
    DialogProject project;
    project.record(0).text = "0";
    for (int i = 0; i < all.size(); ++i) {
        const QStringList parts = all.at(i).split(u' ');
        project.newDialog(i + 1, parts.at(0));
        project.record(i + 1).btnscr1 = scriptOf(parts.at(1));
        project.record(i + 1).btnscr2 = scriptOf(parts.at(2));
    }
    project.setDialogCount(qint16(all.size()));
    return project;
}

} // namespace kq::ScriptShorthand
