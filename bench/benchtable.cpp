#include "benchtable.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonValue>
#include <QVector>

#include <algorithm>
#include <cstdio>

namespace {
const int kDefaultSize = 2000;

void appendJson(const QString &work, double projectMs, double floorMs, const QString &trips, QJsonObject row)
{
    const QString path = qEnvironmentVariable("BENCH_JSON");
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::Append))
        return;
    row.insert("work", work);
    row.insert("project_ms", projectMs);
    row.insert("floor_ms", floorMs < 0 ? QJsonValue() : QJsonValue(floorMs));
    row.insert("ratio", floorMs <= 0 ? QJsonValue() : QJsonValue(projectMs / floorMs));
    row.insert("round_trips", trips);
    file.write(QJsonDocument(row).toJson(QJsonDocument::Compact) + '\n');
}
} // namespace

int BenchTable::size()
{
    bool ok = false;
    const int size = qEnvironmentVariableIntValue("BENCH_SIZE", &ok);
    return ok && size > 0 ? size : kDefaultSize;
}

double BenchTable::medianMs(const std::function<void()> &work, const std::function<void()> &prepare, int runs)
{
    QVector<double> times;
    for (int run = 0; run < runs; ++run) {
        if (prepare)
            prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        times.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

uint BenchTable::calls(const QMap<QString, uint> &before, const QMap<QString, uint> &after)
{
    uint total = 0;
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        total += it.value() - before.value(it.key());
    return total;
}

void BenchTable::printRow(const QString &work, double projectMs, double floorMs, double roundTrips)
{
    printRow(work, projectMs, floorMs, roundTrips < 0 ? QStringLiteral("-") : QString::number(roundTrips, 'g', 4));
}

void BenchTable::printRow(const QString &work, double projectMs, double floorMs, const QString &trips,
                          const QJsonObject &extra)
{
    appendJson(work, projectMs, floorMs, trips, extra);
    const QString floor = floorMs < 0 ? QStringLiteral("-") : QString::number(floorMs, 'f', 2);
    const QString ratio = floorMs <= 0 ? QStringLiteral("-") : QString::number(projectMs / floorMs, 'f', 2) + 'x';
    const QString line = QStringLiteral("| %1 | %2 | %3 | %4 | %5 |\n")
                             .arg(work, QString::number(projectMs, 'f', 2), floor, ratio, trips);
    fputs(line.toUtf8().constData(), stdout);
    fflush(stdout);
}
