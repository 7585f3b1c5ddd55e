#ifndef HENVIRONMENT_H
#define HENVIRONMENT_H

#include <QObject>
#include <QString>

// Read-only facts about the environment the interface runs in. The failed service is read from the
// process environment each time QML reads the property; a read that finds another value than the
// read before announces the change, so bindings on the property follow it too.
class HEnvironment : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString baseDir READ getBaseDir CONSTANT)
    Q_PROPERTY(QString productName READ productName CONSTANT)
    Q_PROPERTY(QString failedService READ getFailedService NOTIFY failedServiceChanged)

public:
    explicit HEnvironment(QObject *parent = nullptr);

    QString getBaseDir() const;
    QString productName() const;
    QString getFailedService() const;

Q_SIGNALS:
    void failedServiceChanged();

private:
    static QString readFailedService();

    // What the last read returned (mutable: reading is what finds out about a change).
    mutable QString m_lastFailedService;
    static const QString s_baseDir;
    static const QString s_unknownService;
};

#endif // HENVIRONMENT_H
