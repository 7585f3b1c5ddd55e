#include <QtTest>

#include "hmessagelist.h"
#include "hstringlist.h"

// HMessageList and HStringList keep the same two windows; every case runs on both.
class TestHMessageList : public QObject
{
    Q_OBJECT

    static QObject *create(const QByteArray &type)
    {
        if (type == "HMessageList")
            return new HMessageList;
        return new HStringList;
    }

    static QStringList texts(QObject *list, const char *getter)
    {
        QStringList result;
        for (int i = -1; i <= 12; ++i) {
            QString text;
            QMetaObject::invokeMethod(list, getter, Q_RETURN_ARG(QString, text), Q_ARG(int, i));
            result.append(text);
        }
        return result;
    }

    static QStringList blanks(int n)
    {
        QStringList result;
        for (int i = 0; i < n; ++i)
            result.append(QString());
        return result;
    }

    static void call(QObject *list, const char *method, const QString &text = QString())
    {
        const bool done = text.isNull() ? QMetaObject::invokeMethod(list, method)
                                        : QMetaObject::invokeMethod(list, method, Q_ARG(QString, text));
        QVERIFY(done);
    }

private Q_SLOTS:
    void windows_data()
    {
        QTest::addColumn<QByteArray>("type");
        QTest::newRow("HMessageList") << QByteArray("HMessageList");
        QTest::newRow("HStringList") << QByteArray("HStringList");
    }

    void windows()
    {
        QFETCH(QByteArray, type);
        QScopedPointer<QObject> list(create(type));
        QCOMPARE(list->property("count"), QVariant(10));
        QCOMPARE(texts(list.data(), "getStringList"), blanks(14));

        for (int i = 1; i <= 11; ++i)
            call(list.data(), "setStringList", QString::number(i));
        QStringList expected = {"", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "", "", ""};
        QCOMPARE(texts(list.data(), "getStringList"), expected);
        QCOMPARE(texts(list.data(), "getStringTime"), blanks(14));

        // A shorter window still drops one entry per append; a longer one fills up first.
        list->setProperty("count", 5);
        call(list.data(), "setStringList", "12");
        expected = QStringList{"", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "", "", ""};
        QCOMPARE(texts(list.data(), "getStringList"), expected);
        list->setProperty("count", 12);
        for (const char *text : {"13", "14", "15"})
            call(list.data(), "setStringList", text);
        expected = QStringList{"", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", ""};
        QCOMPARE(texts(list.data(), "getStringList"), expected);

        call(list.data(), "setCurTime");
        const QStringList times = texts(list.data(), "getStringTime");
        QCOMPARE(times.mid(1, 10), blanks(10));
        const QTime stamp = QTime::fromString(times.at(11), "hh:mm:ss");
        const int age = (86400 + stamp.secsTo(QTime::currentTime())) % 86400; // across midnight too
        QVERIFY2(times.at(11).size() == 8 && stamp.isValid() && age <= 2, qPrintable(times.at(11)));
        QCOMPARE(texts(list.data(), "getStringList"), expected);

        if (type == "HMessageList") {
            call(list.data(), "clearAllMsgList");
            QCOMPARE(list->property("count"), QVariant(10));
            QCOMPARE(texts(list.data(), "getStringList"), blanks(14));
            QCOMPARE(texts(list.data(), "getStringTime"), blanks(14));
        } else {
            QCOMPARE(list->metaObject()->indexOfMethod("clearAllMsgList()"), -1);
        }
    }
};

QTEST_GUILESS_MAIN(TestHMessageList)
#include "tst_hmessagelist.moc"
