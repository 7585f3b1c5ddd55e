#ifndef HTAGFILE_H
#define HTAGFILE_H

#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVector>

class QJsonObject;

// The user's site tags in six categories (site, sector, technology, test type, termination, custom),
// kept in one JSON file. Entries are edited by category and 0-based position and read back by key
// ("Sector1" is the first sector); every edit rewrites the whole file at once.
class HTagFile : public QObject
{
    Q_OBJECT

public:
    explicit HTagFile(QObject *parent = nullptr);
    ~HTagFile() override;

    Q_INVOKABLE void read();
    Q_INVOKABLE void save();
    Q_INVOKABLE void setTag(QString pro, QVariant value);
    Q_INVOKABLE QString getTag(QString name);
    Q_INVOKABLE void setTagName(QString tag, int num, QString value);

Q_SIGNALS:
    // The entries changed (an edit, or a read that found other entries): getTag answers differently.
    void tagsChanged();

private:
    static constexpr int kCategoryCount = 6;

    void readJson(const QJsonObject &root);
    QJsonObject writeJson();
    QString getTagName(const QString &category);
    int categoryIndex(const QString &name) const;
    bool entryOfKey(const QString &key, int *category, int *position) const;
    void fillDefaults();
    QVector<QList<QString>> listsSnapshot() const;
    void announceIfChanged(const QVector<QList<QString>> &lists, const QMap<QString, QVariant> &tags);

    QMap<QString, QVariant> m_tagMap;
    QString m_tagFilePath;
    QList<QString> m_lists[kCategoryCount];
};

#endif // HTAGFILE_H
