#include <QtTest>

#include "hpositionfileio.h"
#include "testfiles.h"

namespace {
QString row(const HPositionFileIO &positions, int r)
{
    return positions.getData(0, r) + '|' + positions.getData(1, r) + '|' + positions.getData(2, r);
}
}

class TestHPositionFileIO : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral("/pos 'a'; $(x)-XXXXXX")};
    QString m_path;

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("positions ;'1'.txt"));
        QFile::remove(m_path);
    }

    void freshTableAndCellsOutsideIt()
    {
        HPositionFileIO positions;
        QCOMPARE(positions.count(), 10);
        for (int r = 0; r < 10; ++r)
            QCOMPARE(row(positions, r), QStringLiteral("--|--|--"));
        for (auto [column, r] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 10}})
            QCOMPARE(positions.getData(column, r), QStringLiteral(""));

        positions.setSource(m_path);
        positions.setData(10, "a", "b", "c");
        positions.delData(-1);
        QVERIFY(!QFile::exists(m_path));
    }

    void writesFilledRowsPackedAndReadsThemFromRowZero()
    {
        HPositionFileIO positions;
        QSignalSpy errors(&positions, &HPositionFileIO::error);
        positions.setSource(m_path);
        QCOMPARE(errors.takeFirst(), QVariantList{"Unable to open the file"});

        positions.setData(5, "P1", "51.5", "-0.12");
        QCOMPARE(readFile(m_path), QByteArray("P1,51.5,-0.12\n"));
        positions.setData(2, QString::fromUtf8("S\xc3\xbc" "d"), "a,b", "");
        positions.setData(7, "--", "hidden", "hidden");
        positions.setData(8, "", "hidden", "hidden");
        QCOMPARE(readFile(m_path), QByteArray("S\xfc" "d,a,b,\nP1,51.5,-0.12\n"));

        HPositionFileIO restarted;
        restarted.setSource(m_path);
        QCOMPARE(row(restarted, 0) + "/" + row(restarted, 1) + "/" + row(restarted, 5),
                 QString::fromUtf8("S\xc3\xbc" "d|a|b/P1|51.5|-0.12/--|--|--"));

        positions.delData(2);
        positions.delData(5);
        QCOMPARE(readFile(m_path), QByteArray(""));
        QCOMPARE(errors.count(), 0);
    }

    void readingKeepsLaterRowsAndStopsAtTen()
    {
        HPositionFileIO positions;
        for (int r = 0; r < 10; ++r)
            positions.setData(r, "old" + QString::number(r), "x", "y");
        writeFile(m_path, "  a   ,  b ,c,extra\r\nshort\n\n");
        positions.setSource(m_path);
        QCOMPARE(row(positions, 0) + "/" + row(positions, 1) + "/" + row(positions, 2) + "/" + row(positions, 3),
                 QStringLiteral("a | b |c/short||/||/old3|x|y"));

        QByteArray lines;
        for (int i = 0; i < 12; ++i)
            lines += "r" + QByteArray::number(i) + ",1,2\n";
        writeFile(m_path, lines);
        HPositionFileIO full;
        full.setSource(m_path);
        QCOMPARE(row(full, 9), QStringLiteral("r9|1|2"));
        full.delData(0);
        QCOMPARE(readFile(m_path), lines.mid(7, 9 * 7));

        QSignalSpy errors(&full, &HPositionFileIO::error);
        full.setSource("");
        full.setSource(m_dir.path());
        QCOMPARE(errors, (QList<QVariantList>{{"source is empty"}, {"Unable to open the file"}}));
        QCOMPARE(row(full, 1), QStringLiteral("r1|1|2"));
    }
};

QTEST_GUILESS_MAIN(TestHPositionFileIO)
#include "tst_hpositionfileio.moc"
