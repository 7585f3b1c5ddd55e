#include "persistentlog.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include "filewriter.h"

namespace {
const char kUiSetupFile[] = "/tmp/loggingLoadUiSetup.json";
// A set-up line is a few kilobytes; a longer first line is not a set-up, and the records after it
// (possibly gigabytes) are never read.
const qint64 kMaxSetupLine = 1024 * 1024;
}

QString persistentLog::uiSetupFile()
{
    return QString::fromLatin1(kUiSetupFile);
}

bool persistentLog::loadUiSetup(const QString &path)
{
    QFile log(path);
    if (!log.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = log.readLine(kMaxSetupLine);
    const QJsonDocument setup = QJsonDocument::fromJson(line.trimmed());
    if (!setup.isObject())
        return false;

    return FileWriter::writeFile(uiSetupFile(), setup.toJson(QJsonDocument::Indented));
}
