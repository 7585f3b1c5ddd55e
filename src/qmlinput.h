#ifndef QMLINPUT_H
#define QMLINPUT_H

#include <QJSValue>
#include <QString>
#include <QUrl>
#include <QVariant>

// What QML hands to C++ in the forms a QML author writes it.
namespace QmlInput {

// A QVariant parameter receives JavaScript arrays and objects wrapped in a QJSValue; stored as they
// come they read back as null. Unwrapped, they become lists and maps.
inline QVariant plain(const QVariant &value)
{
    if (value.userType() == qMetaTypeId<QJSValue>())
        return value.value<QJSValue>().toVariant();
    return value;
}

// A path as a file system path, whether QML gave a plain path or a "file:" URL (Qt.resolvedUrl,
// a file dialog, an Image's source).
inline QString localPath(const QString &path)
{
    if (path.startsWith(QLatin1String("file:")))
        return QUrl(path).toLocalFile();
    return path;
}

} // namespace QmlInput

#endif // QMLINPUT_H
