// Plugin load (`import HBase 1.0` in a fresh QML engine, each run in a fresh process): against loading
// the plugin's library bare and creating the same object from QtQml alone.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLibrary>
#include <QProcess>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QVector>

#include <algorithm>
#include <cstdio>

#include "benchtable.h"

static const char kPluginPath[] = "/HBase/libhBase_plugin.so";

// One measurement in this process: prints the milliseconds it took.
static int once(const QString &what)
{
    QElapsedTimer timer;
    timer.start();
    QQmlEngine engine;
    QByteArray source = "import QtQml 2.0\nQtObject {}\n";
    if (what == QLatin1String("project")) {
        source = "import QtQml 2.0\nimport HBase 1.0\nQtObject {}\n";
    } else {
        QLibrary plugin(qEnvironmentVariable("QML2_IMPORT_PATH") + QLatin1String(kPluginPath));
        if (!plugin.load())
            return 1;
    }
    QQmlComponent component(&engine);
    component.setData(source, QUrl());
    QObject *object = component.create();
    if (!object)
        return 1;
    delete object;
    printf("%f\n", timer.nsecsElapsed() / 1e6);
    return 0;
}

// One measurement in a fresh process: what it printed.
static double inChild(const char *what)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {"--once", what});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        qFatal("the %s measurement failed", what);
    return child.readAllStandardOutput().trimmed().toDouble();
}

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--once")
        return once(QString::fromLatin1(argv[2]));
    QVector<double> project;
    QVector<double> floor;
    for (int run = 0; run < 5; ++run) {
        project.append(inChild("project"));
        floor.append(inChild("floor"));
    }
    std::sort(project.begin(), project.end());
    std::sort(floor.begin(), floor.end());
    BenchTable::printRow(QStringLiteral("Plugin load (`import HBase 1.0`)"), project.at(2), floor.at(2), 0);
    return 0;
}
