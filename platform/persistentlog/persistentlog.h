#ifndef PERSISTENTLOG_H
#define PERSISTENTLOG_H

#include <QString>

// The logging files of the measurement screens ("grr", "grrv"). A logging file is UTF-8 text:
//
//   first      the logged screen's set-up, one JSON object ("Technology", "Measure", ...), written
//              indented over several lines as every set-up file is (or on one line)
//   then       the logged records, one per line, in the logging application's own format
//
// loadUiSetup() hands the set-up to the file browser without reading the records.
class persistentLog
{
public:
    // The file the converted set-up goes to: one indented JSON object.
    static QString uiSetupFile();

    // Converts the set-up at the start of the logging file at `path` into uiSetupFile(). False (and
    // the previous uiSetupFile() left as it was) when the file does not open, does not start with a
    // JSON object, or the converted file cannot be written.
    bool loadUiSetup(const QString &path);

    // The bytes of the JSON object that `text` starts with (after white space), up to its closing
    // brace; empty when the text starts with anything else or the object does not end in it.
    static QByteArray leadingObject(const QByteArray &text);
};

#endif // PERSISTENTLOG_H
