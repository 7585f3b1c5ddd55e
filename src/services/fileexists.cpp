#include "fileexists.h"

#include <cstdio>

namespace {
const char kListCommand[] = "ls %1";
const char kQueryTag[] = "queryForFile";
const int kCommandTimeoutMs = 30000;

// Both trace lines go straight to standard error, not through the message log, so no logging rule
// or message pattern changes them.
void writeToStandardError(const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}
}

FileExists::FileExists(QObject *parent)
    : QObject(parent)
    , m_command(QString::fromLatin1(kListCommand))
{
}

FileExists::~FileExists() = default;

void FileExists::setExists(bool exists)
{
    if (exists == m_exists)
        return;
    m_exists = exists;
    emit existsChanged(m_exists);
}

bool FileExists::queryForFile(const QString &fileName)
{
    writeToStandardError(QLatin1String(kQueryTag) + QLatin1Char(' ') + fileName);

    // The name goes into the command line unquoted: QProcess splits it at spaces and starts "ls"
    // itself, so a name with spaces lists other paths (and answers false) but no shell ever sees it.
    QStringList arguments = QProcess::splitCommand(m_command.arg(fileName));
    const QString program = arguments.takeFirst();
    m_process.start(program, arguments);
    m_process.waitForFinished(kCommandTimeoutMs);
    const QByteArray output = m_process.readAllStandardOutput();
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished();
    }
    const QString listing =
        QString::fromUtf8(output.constData(), int(qstrnlen(output.constData(), uint(output.size())))).trimmed();

    const bool found = (listing == fileName);
    // A query updates the answer without notifying; QML reads the returned value.
    m_exists = found;

    writeToStandardError(QLatin1String(kQueryTag) + QLatin1String(" test for [") + fileName
                         + QLatin1String("], output [") + listing + QLatin1String("], return ")
                         + QLatin1Char(found ? '1' : '0'));
    return found;
}
