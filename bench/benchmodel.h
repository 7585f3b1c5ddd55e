#ifndef BENCHMODEL_H
#define BENCHMODEL_H

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

// Simulator models of the benchmarks: applications whose settings modules hold `items` settings of
// the kinds an instrument has (numbers with defaults, enumerations, texts, arrays).
class BenchModel
{
public:
    static QString app(int index);
    static QString settingsModule(int index);
    static QJsonArray settings(int items);
    static QJsonObject model(int apps, int items);
    // The same with one application whose result module "bench0_result" holds the double `result` at -40.
    static QJsonObject modelWithResult(int items, const QString &result);
    // A tab table as addTab builds it for application `index` of such a model.
    static QJsonObject tabTable(int index, int items);
    // The six tab files "/tmp/Tab1.oxs" to "/tmp/Tab6.oxs" of such tables, written as the module writes them.
    static void writeTabFiles(int items);
};

#endif // BENCHMODEL_H
