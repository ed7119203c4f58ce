#include "findingtext.h"

#include "language.h"

namespace kq::FindingText {

namespace {

QString argument(const Finding &finding, int index)
{
    return finding.arguments.value(index);
}

} // namespace

QString fieldName(StepField field)
{
    switch (field) {
    case StepField::Button1:
        return languageText(340);
    case StepField::Button2:
        return languageText(341);
    case StepField::BarFull:
        return languageText(342);
    case StepField::PauseEnd:
        return languageText(343);
    case StepField::None:
    case StepField::Header:
        break;
    }
    return QString();
}

QString stepLabel(int step)
{
    return step < 0 ? languageText(344) : QString::number(step);
}

QString text(const Finding &finding)
{
    using Kind = Finding::Kind;
    const QString field = fieldName(finding.field);
    switch (finding.kind) {
    case Kind::ScriptCannotRun:
        return languageText(345).arg(field, argument(finding, 0));
    case Kind::EndRunsNoAction:
        return languageText(346).arg(field);
    case Kind::NoWayOut:
        return languageText(347);
    case Kind::NoProjectStyle:
        return languageText(348).arg(argument(finding, 0));
    case Kind::SilentLoop:
        if (finding.arguments.size() == 1)
            return languageText(350);
        return languageText(349).arg(finding.arguments.join(QStringLiteral(", ")));
    case Kind::EndlessLoop:
        if (finding.arguments.size() == 1)
            return languageText(473);
        return languageText(472).arg(finding.arguments.join(QStringLiteral(", ")));
    case Kind::TargetOutside:
        return languageText(351).arg(field, argument(finding, 0), argument(finding, 1));
    case Kind::Unreachable:
        return languageText(352);
    case Kind::NoEnd:
        return languageText(353);
    case Kind::BackFromFirst:
        return languageText(354).arg(field);
    case Kind::ButtonDoesNothing:
        return languageText(355).arg(field, argument(finding, 0));
    case Kind::UnknownType:
        return languageText(356).arg(argument(finding, 0));
    case Kind::UnknownIcon:
        return languageText(357).arg(argument(finding, 0));
    case Kind::WideMessage:
        return languageText(605).arg(argument(finding, 0));
    case Kind::TargetDeleted:
        return languageText(470).arg(field);
    }
    return QString();
}

} // namespace kq::FindingText
