#include "devicecommand.h"

#include <QProcess>

#include "folderrights.h"
#include "programrunner.h"

QString DeviceCommand::run(const QString &program, const QStringList &arguments, int timeoutMs, bool *overran)
{
    const ProgramRunner::Output output = ProgramRunner::capture(program, arguments, timeoutMs);
    if (overran)
        *overran = !output.ended;
    const QByteArray &text = output.text;
    return QString::fromUtf8(text.constData(), int(qstrnlen(text.constData(), uint(text.size()))));
}

QString DeviceCommand::runLine(const QString &commandLine, int timeoutMs)
{
    QStringList arguments = QProcess::splitCommand(commandLine);
    const QString program = arguments.isEmpty() ? QString() : arguments.takeFirst();
    for (QString &argument : arguments)
        argument = FolderRights::programArgument(argument);
    return run(program, arguments, timeoutMs);
}
