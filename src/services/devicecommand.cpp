#include "devicecommand.h"

#include <QProcess>

#include "folderrights.h"

QString DeviceCommand::run(QProcess &process, const QString &program, const QStringList &arguments, int timeoutMs,
                           bool *overran)
{
    process.start(program, arguments);
    process.waitForFinished(timeoutMs);
    const QByteArray output = process.readAllStandardOutput();
    const bool running = process.state() != QProcess::NotRunning;
    if (running) {
        process.kill();
        process.waitForFinished();
    }
    if (overran)
        *overran = running;
    return QString::fromUtf8(output.constData(), int(qstrnlen(output.constData(), uint(output.size()))));
}

QString DeviceCommand::runLine(QProcess &process, const QString &commandLine, int timeoutMs)
{
    QStringList arguments = QProcess::splitCommand(commandLine);
    const QString program = arguments.isEmpty() ? QString() : arguments.takeFirst();
    for (QString &argument : arguments)
        argument = FolderRights::programArgument(argument);
    return run(process, program, arguments, timeoutMs);
}
