#ifndef ZEELFITEMS_H
#define ZEELFITEMS_H

#include <QObject>
#include <QString>

class ELFClientInterface;
class ElfData;
class Manifest;

// The bridge through which one screen reaches the parameters of one application. QML gives it the
// application's address once ("service,application,result module,settings module") and then asks for
// item handles by short parameter name; it builds the full address, makes sure a manifest covers the
// module and hands back whatever the library finds. It never reads or writes a value itself.
class ZeElfItems : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString dbusAddress READ dbusAddress WRITE setDbusAddress NOTIFY dbusAddressChanged)
    // An address, a direct address and a module of another application change these.
    Q_PROPERTY(QString app READ app NOTIFY appChanged)
    Q_PROPERTY(QString regModule READ regModule NOTIFY regModuleChanged)
    Q_PROPERTY(bool initialed READ initialed NOTIFY initialedChanged)

public:
    explicit ZeElfItems(QObject *parent = nullptr);
    ~ZeElfItems() override;

    QString dbusAddress() const;
    QString app() const;
    QString regModule() const;
    bool initialed() const;

    Q_INVOKABLE ElfData *getItem(const QString &elfid);
    Q_INVOKABLE ElfData *getConfigItem(const QString &param);
    Q_INVOKABLE ElfData *getConfigItem(const QString &param, const QString &elfModuleName);
    Q_INVOKABLE ElfData *getConfigItemDxTest(const QString &param, const QString &elfModuleName);
    Q_INVOKABLE ElfData *getActionItem(const QString &param);
    Q_INVOKABLE ElfData *getActionItem(const QString &param, const QString &elfModuleName);
    Q_INVOKABLE ElfData *getResultItem(const QString &param);
    Q_INVOKABLE ElfData *getResultItem(const QString &param, const QString &elfModuleName);
    Q_INVOKABLE ElfData *getResultItemStarterApp(const QString &param);
    Q_INVOKABLE ElfData *getResultItemDxTest(const QString &param, const QString &elfModuleName);
    Q_INVOKABLE ElfData *getResultItemStrArr(const QString &param);
    Q_INVOKABLE ElfData *getResultItemDoubleArr(const QString &param);
    Q_INVOKABLE ElfData *getResultItemIntArr(const QString &param);
    Q_INVOKABLE ElfData *getResultItemAddr(const QString &param);
    Q_INVOKABLE ElfData *getConfigItemDoubleArr(const QString &param);

    Q_INVOKABLE void setDirectAddress(const QString &addr);

public Q_SLOTS:
    void setDbusAddress(const QString &addr);
    void sigInfoSlot(const QString &msg);

Q_SIGNALS:
    void dbusAddressChanged();
    void sigInfo(const QString &msg);
    void appChanged();
    void regModuleChanged();
    void initialedChanged();

private:
    // What app, regModule and initialed said before a change, so that only real changes are announced.
    struct Announced
    {
        QString app;
        QString regModule;
        bool initialed;
    };
    Announced announced() const;
    void announceChanges(const Announced &before);
    void updateItems();
    void setUpModule(const QString &module);
    void setUpDxTestModule(const QString &module);
    void makeModuleManifest(const QString &app, const QString &module);
    void connectSigInfo();
    // A scalar address ":kind:app:module:param:" with an optional element-type marker after it.
    static QString address(const QString &kind, const QString &app, const QString &module, const QString &param,
                           const QString &arrayMarker = QString());
    void warnNotDxTest(const char *method, const QString &param, const QString &elfModuleName) const;

    QString m_dbusAddress;
    QString m_curApp;
    QString m_regModule;
    QString m_manifestModule;
    QString m_resultModule;
    QString m_lastModule;
    ELFClientInterface *m_client = nullptr;
    Manifest *m_mainManifest = nullptr;
    Manifest *m_resultManifest = nullptr;
    Manifest *m_moduleManifest = nullptr;
};

#endif // ZEELFITEMS_H
