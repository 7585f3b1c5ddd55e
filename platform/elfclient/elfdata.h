#ifndef ELFDATA_H
#define ELFDATA_H

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVector>

// Handle of one parameter item, shared by everything that reaches the item's address. QML binds to
// `value`; the library keeps it current from the service and owns it: callers never delete one.
class ElfData : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString address READ address CONSTANT)
    Q_PROPERTY(QVariant value READ getValue WRITE setValue NOTIFY valueChanged)
    // What QML shows: the readable form (an enumerated item gives its entry text). Named apart from the
    // invokable valueText(bool), which a property of the same name would hide from QML.
    Q_PROPERTY(QString readableText READ readableText NOTIFY valueChanged)
    Q_PROPERTY(int count READ count NOTIFY valueChanged)

public:
    QString address() const;
    Q_INVOKABLE QVariant getValue() const;
    Q_INVOKABLE QVariant getManifestAttr(const QString &name) const;
    // The value as text; with `readable` true, an enumerated item gives its entry's text.
    Q_INVOKABLE QString valueText(bool readable = false) const;
    QString readableText() const { return valueText(true); }
    // Updates the handle at once and sends the value to the service without waiting. A value the
    // service refuses gives way to the service's value again when the refusal arrives.
    Q_INVOKABLE void setValue(const QVariant &value);
    int count() const;

Q_SIGNALS:
    void valueChanged();

protected:
    friend class ElfRegistry;
    ElfData(const QString &address, QObject *parent = nullptr);

    // Takes a value that came from the service: it also fixes the item's type and is what a refused
    // write falls back to. Emits valueChanged when the value differs.
    void assignFromService(const QVariant &value);
    // Shows `value`; emits valueChanged when it differs.
    void assign(const QVariant &value);
    // `value` converted to the item's type as the service declares it (an enumerated item also takes
    // its entry's text); invalid when it does not convert.
    QVariant normalized(const QVariant &value) const;
    // The service refused a write: show its value again unless later writes are still on their way.
    void writeRefused(bool otherWritesPending);

    QString m_address;
    QString m_service; // the service that loaded the item; writes go there
    QVariant m_value;
    int m_type = QMetaType::UnknownType; // the type of the values the service reports
    QVariant m_serviceValue; // the value the service holds, as far as it told us
    QVariantMap m_attributes;
};

// The client's name for the same handle.
using ELFClientItem = ElfData;

// Array items: reached from a handle with qobject_cast (null for other kinds).
class ELFVecDoubleClientItem : public ElfData
{
    Q_OBJECT

public:
    QVector<double> vector() const;

protected:
    friend class ElfRegistry;
    using ElfData::ElfData;
};

class ELFVecStringClientItem : public ElfData
{
    Q_OBJECT

public:
    QStringList list() const;

protected:
    friend class ElfRegistry;
    using ElfData::ElfData;
};

#endif // ELFDATA_H
