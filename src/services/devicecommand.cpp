#include "devicecommand.h"

#include <QProcess>

QString DeviceCommand::run(QProcess &process, const QString &program, const QStringList &arguments, int timeoutMs)
{
    process.start(program, arguments);
    process.waitForFinished(timeoutMs);
    const QByteArray output = process.readAllStandardOutput();
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
    }
    return QString::fromUtf8(output.constData(), int(qstrnlen(output.constData(), uint(output.size()))));
}

QString DeviceCommand::runLine(QProcess &process, const QString &commandLine, int timeoutMs)
{
    QStringList arguments = QProcess::splitCommand(commandLine);
    const QString program = arguments.isEmpty() ? QString() : arguments.takeFirst();
    return run(process, program, arguments, timeoutMs);
}
