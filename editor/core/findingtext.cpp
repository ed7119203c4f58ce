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
        return filledText(text(TextId::FindingScriptCannotRun), {field, argument(finding, 0)});
    case Kind::EndRunsNoAction:
        return filledText(text(TextId::FindingEndRunsNoAction), {field});
    case Kind::NoWayOut:
        return text(TextId::FindingNoWayOut);
    case Kind::NoProjectStyle:
        return filledText(text(TextId::FindingNoProjectStyle), {argument(finding, 0)});
    case Kind::SilentLoop:
        if (finding.arguments.size() == 1)
            return text(TextId::FindingSilentSelfLoop);
        return filledText(text(TextId::FindingSilentLoop),
                          {finding.arguments.join(QStringLiteral(", "))});
    case Kind::EndlessLoop:
        if (finding.arguments.size() == 1)
            return text(TextId::FindingEndlessSelfLoop);
        return filledText(text(TextId::FindingEndlessLoop),
                          {finding.arguments.join(QStringLiteral(", "))});
    case Kind::TargetOutside:
        return filledText(text(TextId::FindingTargetOutside),
                          {field, argument(finding, 0), argument(finding, 1)});
    case Kind::Unreachable:
        return text(TextId::FindingUnreachable);
    case Kind::NoEnd:
        return text(TextId::FindingNoEnd);
    case Kind::BackFromFirst:
        return filledText(text(TextId::FindingBackFromFirst), {field});
    case Kind::ButtonDoesNothing:
        return filledText(text(TextId::FindingButtonDoesNothing), {field, argument(finding, 0)});
    case Kind::UnknownType:
        return filledText(text(TextId::FindingUnknownType), {argument(finding, 0)});
    case Kind::UnknownIcon:
        return filledText(text(TextId::FindingUnknownIcon), {argument(finding, 0)});
    case Kind::WideMessage:
        return filledText(text(TextId::FindingWideMessage), {argument(finding, 0)});
    case Kind::TargetDeleted:
        return filledText(text(TextId::FindingTargetDeleted), {field});
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
