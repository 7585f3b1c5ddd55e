#ifndef DEFAULTVALUES_H
#define DEFAULTVALUES_H

#include <QMap>
#include <QString>
#include <QVariant>

// Resets to the applications' defaults: of a running application, or of a tab file to be recalled.
// Items that describe the instrument's wiring and the running session are never reset.
class DefaultValues
{
public:
    // Sets every item of the application to its default; false when its service is not on the bus.
    static bool resetApp(const QString &appName);
    // Reads the JSON table at `filePath` into `map` with each entry the application knows set to its
    // default; false when the service is missing or the file does not open.
    static bool resetFromFile(const QString &appName, const QString &filePath, QMap<QString, QVariant> &map);
    // The same for the tab file numbered `tabNumber`, written back whole or not at all.
    static bool resetTabFile(uint tabNumber, const QString &appName);
};

#endif // DEFAULTVALUES_H
