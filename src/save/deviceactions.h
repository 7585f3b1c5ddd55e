#ifndef DEVICEACTIONS_H
#define DEVICEACTIONS_H

#include <QString>

// What the save screens ask of the device itself: a factory reset, the document viewer, an update.
class DeviceActions
{
public:
    // Deletes the user's files and the stored state through the starter, then restarts the device.
    static void factoryReset();
    static void showDocument(const QString &path);
    static void loadUpdatePackage(const QString &path);
};

#endif // DEVICEACTIONS_H
