#include <QtTest>

#include <sys/stat.h>

#include "hhistoryfilename.h"
#include "testfiles.h"

namespace {
QStringList entries(const HHistoryFileName &history)
{
    QStringList result;
    for (int i = 0; i < history.count(); ++i)
        result.append(history.getName(i) + '|' + history.getDate(i));
    return result;
}
}

class TestHHistoryFileName : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral("/hist 'a'; $(x)-XXXXXX")};
    QString m_path;

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("recent ;'names'.txt"));
        QDir dir(m_dir.path());
        for (const QString &name : dir.entryList(QDir::Files))
            QVERIFY(dir.remove(name));
    }

    void addersWriteTheFileAndSkipDuplicates()
    {
        HHistoryFileName history;
        QSignalSpy errors(&history, &HHistoryFileName::error);
        history.setSource(m_path);
        QCOMPARE(errors.takeFirst(), QVariantList{"Unable to open the file"});

        history.setDataAppend("a.sta", "7");
        history.setDataAppend("", "8");   // kept in the list, left out of the file
        history.setDataAppend("b.sta", "");
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        history.setData(QString::fromUtf8("caf\xc3\xa9 \xce\xa9.sta"));
        QCOMPARE(history.count(), 4);
        const QDateTime stamp = QDateTime::fromString(history.getDate(3), "dd/MM/yyyy hh:mm:ss");
        QVERIFY2(stamp >= before && stamp <= QDateTime::currentDateTime(), qPrintable(history.getDate(3)));
        QCOMPARE(readFile(m_path), "a.sta,7\ncaf\xe9 ?.sta," + history.getDate(3).toLatin1() + '\n');

        writeFile(m_path, "untouched");
        history.setDataAppend("a.sta", "9");
        history.setDataOrder("a.sta", "1");
        history.setData("a.sta");
        QCOMPARE(readFile(m_path), QByteArray("untouched"));
        QCOMPARE((QStringList{history.getDate(0), history.getName(4), history.getDate(-1)}), QStringList({"7", "", ""}));
        QCOMPARE(errors.count(), 0);
    }

    void lengthRule()
    {
        HHistoryFileName history;
        for (int i = 1; i <= 21; ++i)
            history.setDataAppend(QString::number(i), "d");
        QCOMPARE(history.count(), 21);
        history.setDataOrder("22", "d");
        QCOMPARE(history.count(), 21);
        QCOMPARE(history.getName(0), QStringLiteral("2"));

        history.setMaxCntVisible(true);
        history.setDataAppend("23", "d");
        QCOMPARE(history.count(), 22);

        // A file longer than the limit is read whole and then keeps its length.
        QByteArray lines;
        for (int i = 0; i < 25; ++i)
            lines += "n" + QByteArray::number(i) + ",d\n";
        writeFile(m_path, lines);
        HHistoryFileName restarted;
        restarted.setSource(m_path);
        QCOMPARE(restarted.count(), 25);
        restarted.setDataAppend("new", "d");
        QCOMPARE(restarted.count(), 25);
        QCOMPARE(readFile(m_path), lines.mid(lines.indexOf('\n') + 1) + "new,d\n");
    }

    void orderedInsertion()
    {
        HHistoryFileName history;
        history.setSource(m_path);
        // "g" equals the last: appended after it; "h" goes after its equal in the middle; "x" counts as 0.
        for (auto [name, date] : {std::pair{"c", "5"}, {"a", "1"}, {"b", "3"}, {"d", "4"}, {"e", "6"}, {"f", "0"},
                                  {"g", "6"}, {"h", "3.0"}, {"i", "x"}})
            history.setDataOrder(name, date);
        QCOMPARE(readFile(m_path), QByteArray("f,0\ni,x\na,1\nb,3\nh,3.0\nd,4\nc,5\ne,6\ng,6\n"));
    }

    void readingSimplifiesSkipsAndAppends()
    {
        writeFile(m_path, "  one   ,   1  \r\nno comma\n\n   \ntwo,2,extra\ncaf\xe9,\t3");
        const QString second = m_dir.filePath("second");
        writeFile(second, "three,3\n");
        HHistoryFileName history;
        QSignalSpy errors(&history, &HHistoryFileName::error);
        QSignalSpy sourceChanges(&history, &HHistoryFileName::sourceChanged);
        history.setSource(m_path);
        history.setSource(second);
        history.setSource(second); // the same source again adds nothing
        QCOMPARE(entries(history), QStringList({"one | 1", "two|2", QString::fromUtf8("caf\xc3\xa9| 3"), "three|3"}));
        QCOMPARE(sourceChanges, (QList<QVariantList>{{m_path}, {second}}));
        history.setSource("");
        history.setSource(m_dir.path());
        QCOMPARE(errors, (QList<QVariantList>{{"source is empty"}, {"Unable to open the file"}}));
        QCOMPARE(history.count(), 4);

        // A FIFO would block the interface in open(), for reading and for writing: it is never opened.
        const QString fifo = m_dir.filePath("fifo");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        history.setSource(fifo);
        QCOMPARE(errors.at(2), QVariantList{"Unable to open the file"});
        history.setDataAppend("five", "5");
        QCOMPARE(history.count(), 5);
    }

    void deleteRemovesTheLastMatchAndAlwaysWrites()
    {
        writeFile(m_path, "a,1\nb,2\na,3\n");
        HHistoryFileName history;
        history.setSource(m_path);
        history.delData("a");
        QCOMPARE(readFile(m_path), QByteArray("a,1\nb,2\n"));
        writeFile(m_path, "stale");
        history.delData("A");
        QCOMPARE(readFile(m_path), QByteArray("a,1\nb,2\n"));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), {QFileInfo(m_path).fileName()});
    }
};

QTEST_GUILESS_MAIN(TestHHistoryFileName)
#include "tst_hhistoryfilename.moc"
