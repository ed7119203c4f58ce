#include "runfault.h"

#include "reasontext.h"

#include <QRegularExpression>

#include <array>

namespace kq::RunFault {

namespace {

constexpr ReasonText DataFileNotOpened{TextId::FaultDataFileNotOpened,
                                       u"the data file %1 cannot be opened"};
constexpr ReasonText NoProjectHeader{TextId::FaultNoProjectHeader, u"%1 holds no project header"};
constexpr ReasonText StepNotRead{TextId::FaultStepNotRead, u"step %1 cannot be read"};
constexpr ReasonText NoProjectStyle{TextId::FaultNoProjectStyle,
                                    u"the project header holds no project style"};
constexpr ReasonText ScriptCannotRun{TextId::FaultScriptCannotRun,
                                     u"step %1: the script \"%2\" cannot be run"};
constexpr ReasonText CannotShow{TextId::FaultCannotShow,
                                u"step %1 cannot be shown in project style %2"};
constexpr ReasonText SilentLoop{TextId::FaultSilentLoop,
                                u"step %1: the scripts lead back to it without showing "
                                u"anything, so the run would never end"};
constexpr ReasonText PauseLoop{TextId::FaultPauseLoop,
                               u"step %1: the scripts lead back to it through pauses, without "
                               u"a window the user can answer, so the run would never end"};
constexpr std::array Faults{DataFileNotOpened, NoProjectHeader, StepNotRead, NoProjectStyle,
                            ScriptCannotRun,   CannotShow,      SilentLoop,  PauseLoop};

// The English text as a pattern whose groups are its arguments.
QRegularExpression englishPattern(const ReasonText &fault)
{
    QString pattern = QRegularExpression::escape(QString::fromUtf16(fault.english));
    pattern.replace(QRegularExpression(QStringLiteral(R"(\\%\d)")), QStringLiteral("(.*)"));
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern));
}

} // namespace

QString dataFileNotOpened(const QString &path)
{
    return DataFileNotOpened.with({path});
}

QString noProjectHeader(const QString &path)
{
    return NoProjectHeader.with({path});
}

QString stepNotRead(int step)
{
    return StepNotRead.with({QString::number(step)});
}

QString noProjectStyle()
{
    return NoProjectStyle.with();
}

QString scriptCannotRun(int step, const QString &script)
{
    return ScriptCannotRun.with({QString::number(step), script});
}

QString cannotShow(int step, qint16 projectStyle)
{
    return CannotShow.with({QString::number(step), QString::number(projectStyle)});
}

QString silentLoop(int step)
{
    return SilentLoop.with({QString::number(step)});
}

QString pauseLoop(int step)
{
    return PauseLoop.with({QString::number(step)});
}

QString retold(const QString &printed)
{
    for (const ReasonText &fault : Faults) {
        const QRegularExpressionMatch match = englishPattern(fault).match(printed);
        if (match.hasMatch())
            return fault.with(match.capturedTexts().mid(1));
    }
    return printed;
}

} // namespace kq::RunFault
