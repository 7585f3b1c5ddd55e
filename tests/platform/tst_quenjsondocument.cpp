#include <QtTest>

#include <sys/stat.h>

#include "quenjsondocument.h"

class TestQuenJsonDocument : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral("/quen json 'x';XXXXXX")};

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private Q_SLOTS:
    void readsObjectsAndArrays()
    {
        QuenJsonDocument document;
        QVERIFY(document.readFile(write("object.json", R"({"a": [1, "x"]})")));
        QCOMPARE(document.object().value("a").toArray().at(1).toString(), QStringLiteral("x"));

        QVERIFY(document.readFile(write("array.json", "[1, 2]")));
        QVERIFY(document.isArray());
        QVERIFY(document.object().isEmpty());
    }

    // Each failure names the file; a parse failure also says where and why. A failed read leaves no
    // content from an earlier successful one.
    void failuresNameTheFile()
    {
        QuenJsonDocument document;
        QVERIFY(document.readFile(write("good.json", R"({"a": 1})")));

        const QString missing = m_dir.filePath("missing.json");
        QVERIFY(!document.readFile(missing));
        QVERIFY(document.hasError());
        QCOMPARE(document.errorString(), "Cannot read " + missing + ": No such file or directory");
        QVERIFY(document.object().isEmpty());

        const QString broken = write("broken.json", R"({"a": 1,,})");
        QVERIFY(!document.readFile(broken));
        QCOMPARE(document.errorString(), "Cannot parse " + broken + " at offset 9: unterminated object");

        const QString empty = write("empty.json", "");
        QVERIFY(!document.readFile(empty));
        QCOMPARE(document.errorString(), "Cannot parse " + empty + " at offset 0: illegal value");

        // An empty name fails without the file layer's own warning.
        static int warnings = 0;
        const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &,
                                                                    const QString &) { warnings += type == QtWarningMsg; });
        QVERIFY(!document.readFile(QString()));
        qInstallMessageHandler(previous);
        QCOMPARE(warnings, 0);
        QCOMPARE(document.errorString(), QStringLiteral("Cannot read: no file name given"));

        QVERIFY(!document.readFile(m_dir.path()));
        QCOMPARE(document.errorString(), "Cannot read " + m_dir.path() + ": not a regular file");

        QVERIFY(document.readFile(write("good.json", R"({"a": 1})")));
        QVERIFY(!document.hasError());
        QCOMPARE(document.errorString(), QString());
    }

    // A FIFO would block the interface in open(); it is refused before it is opened.
    void neverOpensAFifo()
    {
        const QString fifo = m_dir.filePath("fifo");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QuenJsonDocument document;
        QVERIFY(!document.readFile(fifo));
        QCOMPARE(document.errorString(), "Cannot read " + fifo + ": not a regular file");
    }
};

QTEST_GUILESS_MAIN(TestQuenJsonDocument)
#include "tst_quenjsondocument.moc"
