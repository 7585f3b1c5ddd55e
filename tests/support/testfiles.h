#ifndef TESTFILES_H
#define TESTFILES_H

// Reading and writing whole files in tests, so written bytes can be compared exactly.

#include <QFile>
#include <QtTest>

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    file.write(content);
}

#endif // TESTFILES_H
