#ifndef TABFILES_H
#define TABFILES_H

#include <QByteArray>
#include <QJsonObject>
#include <QString>

// The tab files: one JSON table of settings per open tab, "/tmp/Tab1.oxs" to "/tmp/Tab6.oxs", made by
// the applications and by the interface, read back into set-ups and recalls. Tabs are numbered 0 to 5
// here; other numbers name no file and every operation refuses them.
class TabFiles
{
public:
    static constexpr int s_count = 6;

    static bool isTabNumber(int tab);
    // The file of tab `tab` (0 to 5), and of the file numbered `number` as the applications count (1 to 6).
    static QString path(int tab);
    static QString numberedPath(qulonglong number);

    // The table of a tab file's bytes; `parsed` tells an empty object from bytes that are no JSON object.
    static QJsonObject parse(const QByteArray &bytes, bool *parsed = nullptr);
    // The table of the file at `path`; empty when it does not open.
    static QJsonObject load(const QString &path);
    // Replaces `table` with the tab's file and says true when the file exists and opens; a file that does
    // not parse gives an empty table and a warning naming it.
    static bool read(int tab, QJsonObject *table);
    // Writes the table as the tab's file, whole or not at all.
    static bool write(int tab, const QJsonObject &table);
    static void remove(int tab);
    // The file of `tab` takes the place of the one before it.
    static void moveDown(int tab);
    // Takes the automated test's running state out of a tab file it wrote.
    static void dropAutotestRuntime(const QString &path);

    static QByteArray indented(const QJsonObject &object);
};

#endif // TABFILES_H
