#ifndef HENVIRONMENT_H
#define HENVIRONMENT_H

#include <QObject>
#include <QString>

// Read-only facts about the environment the interface runs in. Stateless: the failed service is read
// from the process environment each time QML reads the property.
class HEnvironment : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString baseDir READ getBaseDir CONSTANT)
    Q_PROPERTY(QString productName READ productName CONSTANT)
    Q_PROPERTY(QString failedService READ getFailedService)

public:
    explicit HEnvironment(QObject *parent = nullptr);

    QString getBaseDir() const;
    QString productName() const;
    QString getFailedService() const;

private:
    static const QString s_baseDir;
    static const QString s_unknownService;
};

#endif // HENVIRONMENT_H
