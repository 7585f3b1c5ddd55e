#ifndef PERSISTENTLOG_H
#define PERSISTENTLOG_H

#include <QString>

// The logging files of the measurement screens ("grr", "grrv"). A logging file is UTF-8 text:
//
//   line 1     the logged screen's set-up, one JSON object on one line ("Technology", "Measure", ...)
//   line 2...  the logged records, one per line, in the logging application's own format
//
// loadUiSetup() hands the set-up to the file browser without reading the records.
class persistentLog
{
public:
    // The file the converted set-up goes to: one indented JSON object.
    static QString uiSetupFile();

    // Converts the set-up line of the logging file at `path` into uiSetupFile(). False (and the
    // previous uiSetupFile() left as it was) when the file does not open, its first line is not a
    // JSON object, or the converted file cannot be written.
    bool loadUiSetup(const QString &path);
};

#endif // PERSISTENTLOG_H
