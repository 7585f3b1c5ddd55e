#ifndef COMMATEXTFILE_H
#define COMMATEXTFILE_H

#include <QList>
#include <QString>
#include <QStringList>

// The small text files behind the history and position lists: one record a line, fields separated by
// commas, Latin-1. Both lists read and write them the same way and report the same two failures.
class CommaTextFile
{
public:
    // Every line of `path`, trimmed with inner runs of white space made one space, split at every
    // comma. Returns "" when read, else the failure the list reports: "source is empty" or
    // "Unable to open the file".
    static QString read(const QString &path, QList<QStringList> *records);

    // Replaces the file with one line per record, its fields joined by commas. A file that cannot be
    // replaced whole is left as it was; only the file writer's warning tells.
    static void write(const QString &path, const QList<QStringList> &records);

private:
    static bool mayOpen(const QString &path);
};

#endif // COMMATEXTFILE_H
