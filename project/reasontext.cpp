#include "reasontext.h"

namespace kq {

namespace {

ReasonLookup installedLookup = nullptr;

QString filled(const QString &text, const QStringList &args)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype number = i + 1 < text.size() ? text.at(i + 1).digitValue() : -1;
        if (text.at(i) == u'%' && number >= 1 && number <= args.size()) {
            result += args.at(number - 1);
            ++i;
        } else {
            result += text.at(i);
        }
    }
    return result;
}

} // namespace

QString ReasonText::with(const QStringList &args) const
{
    return installedLookup ? filled(installedLookup(id), args) : inEnglish(args);
}

QString ReasonText::inEnglish(const QStringList &args) const
{
    return filled(QString::fromUtf16(english), args);
}

void setReasonLookup(ReasonLookup lookup)
{
    installedLookup = lookup;
}

} // namespace kq
