#ifndef SETUPDOCUMENT_H
#define SETUPDOCUMENT_H

#include "tabfiles.h"

#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QVariant>

class QFile;
class QTextStream;

// A set-up as the save screens build and recall it: the header, the six tab tables, the interface's
// own table ("UI") and the last recalled result, and the files they are written to and read from.
class SetupDocument
{
public:
    // What a saved file holds besides its header.
    enum Content { HeaderOnly, Setup, Backup, Logging, Last, Nothing };

    // `ui` is the interface's table, kept by the report writer, which prints it.
    explicit SetupDocument(QMap<QString, QVariant> &ui);

    QMap<QString, QVariant> &header() { return m_header; }
    QMap<QString, QVariant> &ui() { return m_ui; }
    QJsonObject &tab(int tab) { return m_tabs[tab]; }
    // "TabCount" of the header, limited to the six tabs there are.
    int tabCount() const;

    // Builds the document of `content` and writes it, indented, whole or not at all.
    bool save(const QString &path, Content content);
    // False when a tab file could not be read back: the object then holds only the header.
    bool writeSetup(QJsonObject &object);
    void lastSetup(QJsonObject &object);
    void backupSetup(QJsonObject &object);
    void loggingSetup(QJsonObject &object);
    void headerOnly(QJsonObject &object);

    // Takes a saved set-up's header and tables, and writes the tab files from it; false when one could
    // not be written.
    bool read(const QJsonObject &object);
    bool load(const QString &path);
    // A backup: the header and the first tab only.
    bool restore(const QString &path);
    // A saved result: the header, and the result handed to the application in its transfer file.
    bool readResult(const QString &path);
    void clear();

    // False, touching nothing, for a number that names no tab.
    bool readTab(int tab) { return TabFiles::isTabNumber(tab) && TabFiles::read(tab, &m_tabs[tab]); }
    bool writeTab(int tab) { return TabFiles::isTabNumber(tab) && TabFiles::write(tab, m_tabs[tab]); }
    // Adds the application's current settings to the tab's table and writes it as the tab file.
    bool saveCapturedTab(int tab, const QString &appName);

    // For other writers: the length of `map` as indented JSON text, and the text written to a stream.
    static int jsonSize(const QMap<QString, QVariant> &map);
    static void writeJson(const QMap<QString, QVariant> &map, QTextStream &stream, QFile &file);

    static const char s_headerKey[];
    // The file a recalled result is handed over in.
    static const char s_resultTransferFile[];

private:
    QMap<QString, QVariant> m_header;
    QJsonObject m_tabs[TabFiles::s_count];
    QMap<QString, QVariant> m_result;
    QMap<QString, QVariant> &m_ui;
};

#endif // SETUPDOCUMENT_H
