#include <QEventLoop>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QTimer>
#include <QUrl>

#include <cstdio>

#include "soakmonitor.h"

// Runs the interface's soak script (demo/Soak.qml) for SOAK_MINUTES and judges its growth; see
// SoakMonitor. Usage: hbase-soak SCRIPT OUTPUT_DIR, with SOAK_MINUTES (10), SOAK_WARMUP_MINUTES (3) and
// SOAK_SAMPLE_SECONDS (60) from the environment.
namespace {
double fromEnvironment(const char *name, double fallback)
{
    bool ok = false;
    const double value = qEnvironmentVariable(name).toDouble(&ok);
    return ok && value > 0 ? value : fallback;
}

// The scene graph frees the textures of a closed window's pictures when it next draws a frame. The
// script closes the interface last, so one frame of an empty window lets them go before the process
// ends; the leak checker of a sanitizer build would count them otherwise. Each new interface window
// does the same for the one before, so they never pile up during the run.
void drawOneFrame()
{
    const int patienceMs = 5000;
    QQuickWindow window;
    window.resize(1, 1);
    QEventLoop loop;
    QObject::connect(&window, &QQuickWindow::frameSwapped, &loop, &QEventLoop::quit);
    QTimer::singleShot(patienceMs, &loop, &QEventLoop::quit);
    window.show();
    loop.exec();
}
} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: hbase-soak SCRIPT OUTPUT_DIR\n");
        return 2;
    }
    SoakMonitor::countObjects();
    QGuiApplication app(argc, argv);
    SoakMonitor::Options options;
    options.minutes = fromEnvironment("SOAK_MINUTES", options.minutes);
    options.warmUpMinutes = fromEnvironment("SOAK_WARMUP_MINUTES", options.warmUpMinutes);
    options.sampleSeconds = fromEnvironment("SOAK_SAMPLE_SECONDS", options.sampleSeconds);
    options.outputDir = QString::fromLocal8Bit(argv[2]);
    QQmlApplicationEngine engine;
    SoakMonitor monitor(&engine, options);
    engine.setInitialProperties({{QStringLiteral("monitor"), QVariant::fromValue<QObject *>(&monitor)}});
    // Any warning of the script (a binding that fails, a type error) fails the run as well.
    bool warned = false;
    QObject::connect(&engine, &QQmlEngine::warnings, [&warned](const QList<QQmlError> &warnings) {
        for (const QQmlError &warning : warnings)
            fprintf(stderr, "soak: QML warning: %s\n", qPrintable(warning.toString()));
        warned = true;
    });
    engine.load(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1])));
    if (engine.rootObjects().isEmpty())
        return 2;
    const int result = app.exec();
    drawOneFrame();
    if (warned)
        fprintf(stderr, "soak: FAILED: the script gave QML warnings\n");
    return warned ? 1 : result;
}
