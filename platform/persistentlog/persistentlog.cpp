#include "persistentlog.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include "filewriter.h"

namespace {
const char kUiSetupFile[] = "/tmp/loggingLoadUiSetup.json";
// A set-up is a few kilobytes; one that does not end within this is no set-up, and the records after
// it (possibly gigabytes) are never read.
const qint64 kMaxSetupSize = 1024 * 1024;
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
    const QJsonDocument setup = QJsonDocument::fromJson(leadingObject(log.read(kMaxSetupSize)));
    if (!setup.isObject())
        return false;

    return FileWriter::writeFile(uiSetupFile(), setup.toJson(QJsonDocument::Indented));
}

// Braces are counted outside strings only; a backslash in a string escapes the next character.
QByteArray persistentLog::leadingObject(const QByteArray &text)
{
    int start = 0;
    while (start < text.size() && QChar::isSpace(uchar(text.at(start))))
        ++start;
    if (start == text.size() || text.at(start) != '{')
        return QByteArray();
    int depth = 0;
    bool inString = false;
    for (int i = start; i < text.size(); ++i) {
        const char c = text.at(i);
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if ((c == '}' || c == ']') && --depth == 0) {
            return text.mid(start, i - start + 1);
        }
    }
    return QByteArray();
}
