#include "fileexists.h"

#include <cstdio>

#include "devicecommand.h"

namespace {
const char kListCommand[] = "ls %1";
const char kQueryTag[] = "queryForFile";
const int kCommandTimeoutMs = 30000;
// A listing of a whole folder tree is no answer and would flood the log: only its start is written.
const int kLoggedOutputChars = 200;
const char kCut[] = "...";

// Both trace lines go straight to standard error, not through the message log, so no logging rule
// or message pattern changes them.
void writeToStandardError(const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

QString loggedOutput(const QString &listing)
{
    return listing.size() <= kLoggedOutputChars ? listing : listing.left(kLoggedOutputChars) + QLatin1String(kCut);
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
    // itself, so a name with spaces lists other paths (and answers false) but no shell ever sees it,
    // and no part of it is taken as an option ("-R /usr" lists "./-R" and "/usr").
    const QString listing = DeviceCommand::runLine(m_command.arg(fileName), kCommandTimeoutMs).trimmed();

    const bool found = (listing == fileName);
    writeToStandardError(QLatin1String(kQueryTag) + QLatin1String(" test for [") + fileName
                         + QLatin1String("], output [") + loggedOutput(listing) + QLatin1String("], return ")
                         + QLatin1Char(found ? '1' : '0'));
    // QML reads the returned value; a binding on `exists` follows the answer too.
    setExists(found);
    return found;
}
