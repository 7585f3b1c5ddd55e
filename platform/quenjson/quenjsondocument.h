#ifndef QUENJSONDOCUMENT_H
#define QUENJSONDOCUMENT_H

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

// A JSON document that reads itself from a file. After a successful readFile it is an ordinary
// QJsonDocument (object(), array(), isObject() ...); after a failed one it is empty and errorString()
// says which file failed and why.
class QuenJsonDocument : public QJsonDocument
{
public:
    QuenJsonDocument() = default;

    // Reads and parses `path`; returns !hasError().
    bool readFile(const QString &path);

    bool hasError() const;
    QString errorString() const;

private:
    bool fail(const QString &message);

    QString m_errorString;
};

#endif // QUENJSONDOCUMENT_H
