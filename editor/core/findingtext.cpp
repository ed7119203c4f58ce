#include "findingtext.h"

#include "language.h"

namespace kq::FindingText {

namespace {

QString argument(const Finding &finding, int index)
{
    return finding.arguments.value(index);
}

// The texts below are looked up through a function, so that many findings can share one lookup
// of each text.
template <class LookUp> QString fieldNameOf(StepField field, LookUp &&text)
{
    switch (field) {
    case StepField::Button1:
        return text(TextId::FieldButton1);
    case StepField::Button2:
        return text(TextId::FieldButton2);
    case StepField::BarFull:
        return text(TextId::FieldBarFull);
    case StepField::PauseEnd:
        return text(TextId::FieldPauseEnd);
    case StepField::None:
    case StepField::Header:
        break;
    }
    return QString();
}

template <class LookUp> QString sentence(const Finding &finding, LookUp &&text)
{
    using Kind = Finding::Kind;
    const QString field = fieldNameOf(finding.field, text);
    switch (finding.kind) {
    case Kind::ScriptCannotRun:
        return text(TextId::FindingScriptCannotRun).arg(field, argument(finding, 0));
    case Kind::EndRunsNoAction:
        return text(TextId::FindingEndRunsNoAction).arg(field);
    case Kind::NoWayOut:
        return text(TextId::FindingNoWayOut);
    case Kind::NoProjectStyle:
        return text(TextId::FindingNoProjectStyle).arg(argument(finding, 0));
    case Kind::SilentLoop:
        if (finding.arguments.size() == 1)
            return text(TextId::FindingSilentSelfLoop);
        return text(TextId::FindingSilentLoop).arg(finding.arguments.join(QStringLiteral(", ")));
    case Kind::EndlessLoop:
        if (finding.arguments.size() == 1)
            return text(TextId::FindingEndlessSelfLoop);
        return text(TextId::FindingEndlessLoop).arg(finding.arguments.join(QStringLiteral(", ")));
    case Kind::TargetOutside:
        return text(TextId::FindingTargetOutside)
            .arg(field, argument(finding, 0), argument(finding, 1));
    case Kind::Unreachable:
        return text(TextId::FindingUnreachable);
    case Kind::NoEnd:
        return text(TextId::FindingNoEnd);
    case Kind::BackFromFirst:
        return text(TextId::FindingBackFromFirst).arg(field);
    case Kind::ButtonDoesNothing:
        return text(TextId::FindingButtonDoesNothing).arg(field, argument(finding, 0));
    case Kind::UnknownType:
        return text(TextId::FindingUnknownType).arg(argument(finding, 0));
    case Kind::UnknownIcon:
        return text(TextId::FindingUnknownIcon).arg(argument(finding, 0));
    case Kind::WideMessage:
        return text(TextId::FindingWideMessage).arg(argument(finding, 0));
    case Kind::TargetDeleted:
        return text(TextId::FindingTargetDeleted).arg(field);
    }
    return QString();
}

} // namespace

QString fieldName(StepField field)
{
    return fieldNameOf(field, [](TextId id) { return languageText(id); });
}

QString stepLabel(int step)
{
    return step < 0 ? languageText(TextId::FindingProject) : QString::number(step);
}

QString text(const Finding &finding)
{
    return sentence(finding, [](TextId id) { return languageText(id); });
}

QStringList texts(const QList<Finding> &findings)
{
    // Dozens of findings share a few texts.
    LanguageTexts text;
    QStringList sentences;
    sentences.reserve(findings.size());
    for (const Finding &finding : findings)
        sentences << sentence(finding, text);
    return sentences;
}

} // namespace kq::FindingText
