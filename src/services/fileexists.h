#ifndef FILEEXISTS_H
#define FILEEXISTS_H

#include <QObject>
#include <QString>

// Answers whether a file exists by listing it with "ls" and comparing the listing with the path:
// only a file (not a directory, which lists its contents) is echoed back unchanged.
class FileExists : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool exists READ exists WRITE setExists NOTIFY existsChanged)

public:
    explicit FileExists(QObject *parent = nullptr);
    ~FileExists() override;

    bool exists() const { return m_exists; }
    void setExists(bool exists);

    Q_INVOKABLE bool queryForFile(const QString &fileName);

Q_SIGNALS:
    void existsChanged(bool exists);

private:
    bool m_exists = false;
    const QString m_command;
};

#endif // FILEEXISTS_H
