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
        return text(340);
    case StepField::Button2:
        return text(341);
    case StepField::BarFull:
        return text(342);
    case StepField::PauseEnd:
        return text(343);
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
        return filledText(text(345), {field, argument(finding, 0)});
    case Kind::EndRunsNoAction:
        return filledText(text(346), {field});
    case Kind::NoWayOut:
        return text(347);
    case Kind::NoProjectStyle:
        return filledText(text(348), {argument(finding, 0)});
    case Kind::SilentLoop:
        if (finding.arguments.size() == 1)
            return text(350);
        return filledText(text(349), {finding.arguments.join(QStringLiteral(", "))});
    case Kind::EndlessLoop:
        if (finding.arguments.size() == 1)
            return text(473);
        return filledText(text(472), {finding.arguments.join(QStringLiteral(", "))});
    case Kind::TargetOutside:
        return filledText(text(351), {field, argument(finding, 0), argument(finding, 1)});
    case Kind::Unreachable:
        return text(352);
    case Kind::NoEnd:
        return text(353);
    case Kind::BackFromFirst:
        return filledText(text(354), {field});
    case Kind::ButtonDoesNothing:
        return filledText(text(355), {field, argument(finding, 0)});
    case Kind::UnknownType:
        return filledText(text(356), {argument(finding, 0)});
    case Kind::UnknownIcon:
        return filledText(text(357), {argument(finding, 0)});
    case Kind::WideMessage:
        return filledText(text(605), {argument(finding, 0)});
    case Kind::TargetDeleted:
        return filledText(text(470), {field});
    }
    return QString();
}

} // namespace

QString fieldName(StepField field)
{
    return fieldNameOf(field, [](int id) { return languageText(id); });
}

QString stepLabel(int step)
{
    return step < 0 ? languageText(344) : QString::number(step);
}

QString text(const Finding &finding)
{
    return sentence(finding, [](int id) { return languageText(id); });
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
