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
        return ResString(QStringLiteral("%0340"));
    case StepField::Button2:
        return ResString(QStringLiteral("%0341"));
    case StepField::BarFull:
        return ResString(QStringLiteral("%0342"));
    case StepField::PauseEnd:
        return ResString(QStringLiteral("%0343"));
    case StepField::None:
    case StepField::Header:
        break;
    }
    return QString();
}

QString stepLabel(int step)
{
    return step < 0 ? ResString(QStringLiteral("%0344")) : QString::number(step);
}

QString text(const Finding &finding)
{
    using Kind = Finding::Kind;
    const QString field = fieldName(finding.field);
    switch (finding.kind) {
    case Kind::ScriptCannotRun:
        return ResString(QStringLiteral("%0345")).arg(field, argument(finding, 0));
    case Kind::EndRunsNoAction:
        return ResString(QStringLiteral("%0346")).arg(field);
    case Kind::NoWayOut:
        return ResString(QStringLiteral("%0347"));
    case Kind::NoProjectStyle:
        return ResString(QStringLiteral("%0348")).arg(argument(finding, 0));
    case Kind::SilentLoop:
        if (finding.arguments.size() == 1)
            return ResString(QStringLiteral("%0350"));
        return ResString(QStringLiteral("%0349")).arg(finding.arguments.join(QStringLiteral(", ")));
    case Kind::TargetOutside:
        return ResString(QStringLiteral("%0351"))
            .arg(field, argument(finding, 0), argument(finding, 1));
    case Kind::Unreachable:
        return ResString(QStringLiteral("%0352"));
    case Kind::NoEnd:
        return ResString(QStringLiteral("%0353"));
    case Kind::BackFromFirst:
        return ResString(QStringLiteral("%0354")).arg(field);
    case Kind::ButtonDoesNothing:
        return ResString(QStringLiteral("%0355")).arg(field, argument(finding, 0));
    case Kind::UnknownType:
        return ResString(QStringLiteral("%0356")).arg(argument(finding, 0));
    case Kind::UnknownIcon:
        return ResString(QStringLiteral("%0357")).arg(argument(finding, 0));
    }
    return QString();
}

} // namespace kq::FindingText
