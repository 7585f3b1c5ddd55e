#ifndef BENCHTABLE_H
#define BENCHTABLE_H

#include <QJsonObject>
#include <QMap>
#include <QString>

#include <functional>

// What every benchmark program shares: the size it runs at, the timing and the table row it prints.
//
// A row times the project's operation and its floor (the same work done with bare Qt, SQLite or D-Bus)
// in the same run, each as the median of five runs, and prints
//   | work | project ms | floor ms | ratio | bus round trips |
// The round trips are the calls the simulator received during one run of the project's operation.
// With BENCH_JSON set, each row is also appended to that file as one line of JSON (scripts/run-bench
// gathers them into bench.json), with `extra`'s members beside the columns.
class BenchTable
{
public:
    // Items per module (and files) to run at: BENCH_SIZE from the environment, else 2000.
    static int size();
    // Median wall time of `runs` runs of `work`, in milliseconds; `prepare` runs untimed before each.
    static double medianMs(const std::function<void()> &work, const std::function<void()> &prepare = {}, int runs = 5);
    // Sum of the simulator's call counters between two of its Stats answers.
    static uint calls(const QMap<QString, uint> &before, const QMap<QString, uint> &after);
    // One row; a negative floor or round-trip count prints "-".
    static void printRow(const QString &work, double projectMs, double floorMs, double roundTrips);
    static void printRow(const QString &work, double projectMs, double floorMs, const QString &roundTrips,
                         const QJsonObject &extra = {});
};

#endif // BENCHTABLE_H
