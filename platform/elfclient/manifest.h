#ifndef MANIFEST_H
#define MANIFEST_H

#include <QObject>
#include <QStringList>

class ELFClientInterface;
class ElfData;

// Makes the items of one module of one application reachable by address. Loading costs one
// ModuleItems call; the handles themselves live in the library's registry and outlive the manifest.
class Manifest : public QObject
{
    Q_OBJECT

public:
    Manifest(ELFClientInterface *client, const QString &app, const QString &module, QObject *parent = nullptr);
    ~Manifest() override;

    QString app() const;
    QString module() const;
    QStringList addresses() const;

    // The handle of the item at `address`, or null while no living manifest covers that address.
    static ElfData *getElfData(const QString &address);

private:
    QString m_app;
    QString m_module;
    QString m_service;
    QStringList m_addresses;
    bool m_holdsModule = false;
};

#endif // MANIFEST_H
