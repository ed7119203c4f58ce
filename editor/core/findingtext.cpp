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
        return ResString(340);
    case StepField::Button2:
        return ResString(341);
    case StepField::BarFull:
        return ResString(342);
    case StepField::PauseEnd:
        return ResString(343);
    case StepField::None:
    case StepField::Header:
        break;
    }
    return QString();
}

QString stepLabel(int step)
{
    return step < 0 ? ResString(344) : QString::number(step);
}

QString text(const Finding &finding)
{
    using Kind = Finding::Kind;
    const QString field = fieldName(finding.field);
    switch (finding.kind) {
    case Kind::ScriptCannotRun:
        return ResString(345).arg(field, argument(finding, 0));
    case Kind::EndRunsNoAction:
        return ResString(346).arg(field);
    case Kind::NoWayOut:
        return ResString(347);
    case Kind::NoProjectStyle:
        return ResString(348).arg(argument(finding, 0));
    case Kind::SilentLoop:
        if (finding.arguments.size() == 1)
            return ResString(350);
        return ResString(349).arg(finding.arguments.join(QStringLiteral(", ")));
    case Kind::TargetOutside:
        return ResString(351).arg(field, argument(finding, 0), argument(finding, 1));
    case Kind::Unreachable:
        return ResString(352);
    case Kind::NoEnd:
        return ResString(353);
    case Kind::BackFromFirst:
        return ResString(354).arg(field);
    case Kind::ButtonDoesNothing:
        return ResString(355).arg(field, argument(finding, 0));
    case Kind::UnknownType:
        return ResString(356).arg(argument(finding, 0));
    case Kind::UnknownIcon:
        return ResString(357).arg(argument(finding, 0));
    }
    return QString();
}

} // namespace kq::FindingText
