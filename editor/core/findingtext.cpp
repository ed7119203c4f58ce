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
        return text(345).arg(field, argument(finding, 0));
    case Kind::EndRunsNoAction:
        return text(346).arg(field);
    case Kind::NoWayOut:
        return text(347);
    case Kind::NoProjectStyle:
        return text(348).arg(argument(finding, 0));
    case Kind::SilentLoop:
        if (finding.arguments.size() == 1)
            return text(350);
        return text(349).arg(finding.arguments.join(QStringLiteral(", ")));
    case Kind::EndlessLoop:
        if (finding.arguments.size() == 1)
            return text(473);
        return text(472).arg(finding.arguments.join(QStringLiteral(", ")));
    case Kind::TargetOutside:
        return text(351).arg(field, argument(finding, 0), argument(finding, 1));
    case Kind::Unreachable:
        return text(352);
    case Kind::NoEnd:
        return text(353);
    case Kind::BackFromFirst:
        return text(354).arg(field);
    case Kind::ButtonDoesNothing:
        return text(355).arg(field, argument(finding, 0));
    case Kind::UnknownType:
        return text(356).arg(argument(finding, 0));
    case Kind::UnknownIcon:
        return text(357).arg(argument(finding, 0));
    case Kind::WideMessage:
        return text(605).arg(argument(finding, 0));
    case Kind::TargetDeleted:
        return text(470).arg(field);
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
