#include <QtTest>

#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>

#include <csignal>

#include "hfavoritedb.h"
#include "hhistoryfilename.h"
#include "hpositionfileio.h"
#include "hsave.h"
#include "hscreenshot.h"
#include "htagfile.h"
#include "testfiles.h"

// Each store that writes a file, traced while it writes once: the new content goes to a temporary file
// in the target's folder, that file is flushed, renamed over the target, and the folder flushed. Then
// the same write is killed at each of those system calls in turn (strace's fault injection): the target
// holds exactly the old bytes before the rename and exactly the new ones after it, and the next write
// leaves no temporary file behind.
namespace {
const char kChildArgument[] = "--write-once";
const char kTraced[] = "openat,write,fsync,rename,renameat,renameat2";
const QString kLog = QStringLiteral("/tmp/crash-trace.log");
const QString kCapture = QStringLiteral("/tmp/tempScreenShotHNA.png");
const QString kFavouriteGroup = QStringLiteral("/user/tarnwick5G/internal/.favorite/group");
// The export's working database, which a killed export leaves behind.
const QString kWorkingDb = QStringLiteral("/user/tarnwick5G/internal/.favorite/favorite.db");
const int kChildTimeoutMs = 120000;
// A write may see a few more or fewer calls before it when traced differently (the event loop's own
// wake-ups): the injection moves by one call until it hits the one meant.
const int kAttempts = 12;

struct Store
{
    const char *name;
    const char *target;
};
const Store kStores[] = {
    {"set-up", "/user/TK520/internal/quillbox/setup/crash.stp"},
    {"tab file", "/tmp/Tab1.oxs"},
    {"site tags", "/base/qml_4410/hetnet_private/tagNameList.json"},
    {"favourites export", "/user/TK520/internal/quillbox/crash.db"},
    {"history", "/user/TK520/internal/quillbox/history.txt"},
    {"positions", "/user/TK520/internal/quillbox/positions.txt"},
    {"screenshot", "/user/TK520/internal/quillbox/screenshots/crash.png"},
    {"report", "/user/TK520/internal/quillbox/reports/crash.pdf"},
    {"logging set-up", "/tmp/loggingLoadUiSetup.json"},
};
// The logging file whose set-up the file browser converts.
const QString kLoggingFile = QStringLiteral("/user/TK520/internal/quillbox/crash.grr");

// The child: one write of `store`, with the first or the second content.
int writeOnce(int argc, char **argv)
{
    // No display thread, so the calls of one write stay the same; the minimal platform rather than the
    // offscreen one, which never frees its screen and so fails every child under the leak checker.
    qputenv("QT_QPA_PLATFORM", "minimal:enable_fonts");
    QGuiApplication app(argc, argv);
    const QString store = QString::fromUtf8(argv[2]);
    const int round = QByteArray(argv[3]).toInt();
    const QString text(2000 + 1000 * round, QLatin1Char(round ? 'N' : 'O'));
    QString target;
    for (const Store &known : kStores)
        if (store == QLatin1String(known.name))
            target = QString::fromLatin1(known.target);
    HSave save;
    if (store == "set-up") {
        save.setType(HSave::SAVE_RESULT);
        save.addCommonHeader("Value", text);
        return save.save(target) ? 0 : 1;
    }
    if (store == "tab file")
        return save.read(QJsonObject{{"Header", QJsonObject{{"TabCount", 1}}}, {"Tab1", QJsonObject{{"Value", text}}}})
                   ? 0
                   : 1;
    if (store == "site tags") {
        HTagFile().setTagName("Custom", 0, text);
    } else if (store == "favourites export") {
        for (const QString &old : QDir(kFavouriteGroup).entryList(QDir::Files))
            QFile::remove(kFavouriteGroup + '/' + old);
        writeFile(kFavouriteGroup + QStringLiteral("/%1.stav").arg(round), text.toUtf8());
        return HFavoriteDB().exportDB(target) ? 0 : 1;
    } else if (store == "history") {
        HHistoryFileName history;
        history.setSource(target);
        history.setData(text.left(20) + ".sta");
    } else if (store == "positions") {
        HPositionFileIO positions;
        positions.setSource(target);
        positions.setData(round, text.left(20), "b", "c");
    } else if (store == "screenshot") {
        HScreenShot(nullptr).saveScreen(target, "Off", "LTE", text.left(20));
    } else if (store == "report") {
        save.addCommonUI("Technology", text.left(20));
        save.savePDF(target, "Off", "On");
    } else if (store == "logging set-up") {
        writeFile(kLoggingFile, QByteArray("{\"Technology\": \"") + text.toUtf8() + "\"}\n1,2,3\n");
        return save.readHeader(kLoggingFile, "grr") ? 0 : 1;
    } else {
        return 2;
    }
    return 0;
}

// One system call of a trace, its strings decoded (the trace prints every byte as \xHH).
struct Call
{
    QString name;
    QByteArray fdPath;     // the path of its first argument when that is a descriptor
    QList<QByteArray> strings;
    QString flags;
    QString result;        // "?" for the call the writer was killed at
};

QByteArray decoded(const QString &hex)
{
    QByteArray bytes;
    for (int i = 0; i + 4 <= hex.size(); i += 4)
        bytes.append(char(hex.mid(i + 2, 2).toInt(nullptr, 16)));
    return bytes;
}

// The calls of the process itself (its first thread), in order; a call another thread interrupted
// in the trace is put together again.
QList<Call> readTrace(const QString &path)
{
    static const QRegularExpression line(QStringLiteral("^(?:(\\d+) +)?(\\w+)\\((.*)\\) += (\\S+)"));
    static const QRegularExpression fd(QStringLiteral("^(?:\\d+|AT_FDCWD)<([^>]*)>"));
    static const QRegularExpression string(QStringLiteral("\"((?:\\\\x[0-9a-f]{2})*)\""));
    static const QRegularExpression flagList(QStringLiteral("\\b(O_[A-Z_|]+)"));
    QList<Call> calls;
    QHash<QString, QString> unfinished;
    QString mainPid;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return calls;
    while (!file.atEnd()) {
        QString text = QString::fromLatin1(file.readLine()).trimmed();
        const QString pid = text.section(' ', 0, 0).toInt() ? text.section(' ', 0, 0) : QString();
        if (mainPid.isNull())
            mainPid = pid;
        if (pid != mainPid)
            continue;
        const QString rest = pid.isEmpty() ? text : text.mid(pid.size()).trimmed();
        if (rest.endsWith("<unfinished ...>")) {
            unfinished[pid] = rest.chopped(int(strlen("<unfinished ...>")));
            // A call the writer is killed at never resumes.
            text = rest.chopped(int(strlen(" <unfinished ...>"))) + ") = ?";
        } else if (rest.startsWith("<... ")) {
            text = unfinished.take(pid) + rest.mid(rest.indexOf("resumed>") + int(strlen("resumed>")));
            if (!calls.isEmpty() && calls.last().result == "?")
                calls.removeLast();
        } else {
            text = rest;
        }
        const QRegularExpressionMatch match = line.match(text);
        if (!match.hasMatch())
            continue;
        Call call{match.captured(2), {}, {}, {}, match.captured(4)};
        const QString arguments = match.captured(3);
        const QRegularExpressionMatch first = fd.match(arguments);
        if (first.hasMatch() && !arguments.startsWith("AT_FDCWD"))
            call.fdPath = decoded(first.captured(1));
        for (auto it = string.globalMatch(arguments); it.hasNext();)
            call.strings.append(decoded(it.next().captured(1)));
        call.flags = flagList.match(arguments).captured(1);
        calls.append(call);
    }
    return calls;
}

bool isTempOf(const QByteArray &path, const QString &target)
{
    const QFileInfo info(target);
    const QFileInfo temp(QFile::decodeName(path));
    return temp.path() == info.path() && temp.fileName().startsWith("." + info.fileName() + ".")
           && temp.fileName().size() == info.fileName().size() + 10;
}

// The steps of one write of `target` in a trace: indexes into the calls, -1 where a step is missing.
struct Steps
{
    int open = -1;
    QList<int> writes;
    int flush = -1;
    int rename = -1;
    int folderFlush = -1;
    QByteArray written;
};

Steps stepsOf(const QList<Call> &calls, const QString &target)
{
    Steps steps;
    const QByteArray folder = QFile::encodeName(QFileInfo(target).path());
    for (int i = 0; i < calls.size(); ++i) {
        const Call &call = calls.at(i);
        if (call.name == "openat" && !call.strings.isEmpty() && isTempOf(call.strings.last(), target)
            && call.flags.contains("O_EXCL")) {
            steps.open = i;
        } else if (call.name == "write" && isTempOf(call.fdPath, target)) {
            steps.writes.append(i);
            if (!call.strings.isEmpty() && call.result != "?")
                steps.written += call.strings.first();
        } else if (call.name == "fsync" && isTempOf(call.fdPath, target)) {
            steps.flush = i;
        } else if (call.name.startsWith("rename") && call.strings.size() == 2 && isTempOf(call.strings.at(0), target)
                   && call.strings.at(1) == QFile::encodeName(target)) {
            steps.rename = i;
        } else if (call.name == "fsync" && call.fdPath == folder && steps.rename >= 0 && steps.folderFlush < 0) {
            steps.folderFlush = i;
        }
    }
    return steps;
}

// How many calls of the same name the process made up to and including call `index`: strace counts
// the calls it injects into that way.
int ordinal(const QList<Call> &calls, int index)
{
    int count = 0;
    for (int i = 0; i <= index; ++i)
        count += calls.at(i).name == calls.at(index).name ? 1 : 0;
    return count;
}

// Where in `run` the step stands that is call `point` of the full trace `steps` came from; -1 when the
// run did not get there.
int stepIn(const Steps &run, const Steps &steps, int point)
{
    if (point == steps.open)
        return run.open;
    if (point == steps.flush)
        return run.flush;
    if (point == steps.rename)
        return run.rename;
    if (point == steps.folderFlush)
        return run.folderFlush;
    if (point == steps.writes.first())
        return run.writes.isEmpty() ? -1 : run.writes.first();
    return run.writes.size() == steps.writes.size() ? run.writes.last() : -1;
}

QStringList tempsOf(const QString &target)
{
    const QFileInfo info(target);
    return QDir(info.path()).entryList({"." + info.fileName() + ".*"}, QDir::Files | QDir::Hidden);
}
} // namespace

class TestCrashConsistency : public QObject
{
    Q_OBJECT

    QString m_strace;

    // Runs the child once, under strace with `straceArguments` when given; its exit code, or -1 when killed.
    int runChild(const QString &store, int round, const QStringList &straceArguments = {})
    {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        const QStringList childArguments{QCoreApplication::applicationFilePath(), kChildArgument, store,
                                         QString::number(round)};
        if (straceArguments.isEmpty()) {
            child.start(childArguments.first(), childArguments.mid(1));
        } else {
            // The leak checker cannot run in a traced process; the untraced runs keep it.
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") + ":detect_leaks=0");
            child.setProcessEnvironment(environment);
            child.start(m_strace, straceArguments + QStringList{"-o", kLog, "-y", "-xx", "-s", "16777216", "-e",
                                                                QString("trace=") + kTraced, "--"}
                                      + childArguments);
        }
        if (!child.waitForFinished(kChildTimeoutMs))
            return -2;
        // strace ends as its tracee did: 128 + 9 for a kill.
        return child.exitStatus() == QProcess::NormalExit && child.exitCode() != 128 + SIGKILL ? child.exitCode()
                                                                                               : -1;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_strace = QStandardPaths::findExecutable("strace");
        QVERIFY2(!m_strace.isEmpty(), "strace is needed (scripts/install-deps installs it)");
        HSave().createDefaultDirs();
        QVERIFY(QDir().mkpath(QFileInfo(kStores[2].target).path()));
        QImage capture(64, 48, QImage::Format_RGB32);
        capture.fill(Qt::darkCyan);
        QVERIFY(capture.save(kCapture));
    }

    void killedAtEachStep_data()
    {
        QTest::addColumn<QString>("store");
        for (const Store &store : kStores)
            QTest::newRow(store.name) << store.name;
    }

    void killedAtEachStep()
    {
        QFETCH(QString, store);
        QString target;
        for (const Store &known : kStores)
            if (store == QLatin1String(known.name))
                target = QString::fromLatin1(known.target);
        QCOMPARE(runChild(store, 0), 0);
        const QByteArray old = readFile(target);
        QVERIFY(old != "<missing>");

        // The order of one write, traced with every thread and every program it starts.
        QCOMPARE(runChild(store, 1, {"-f"}), 0);
        const QList<Call> calls = readTrace(kLog);
        const Steps steps = stepsOf(calls, target);
        QVERIFY2(steps.open >= 0 && !steps.writes.isEmpty() && steps.flush >= 0 && steps.rename >= 0
                     && steps.folderFlush >= 0,
                 qPrintable(QString("open %1, %2 writes, flush %3, rename %4, folder flush %5")
                                .arg(steps.open)
                                .arg(steps.writes.size())
                                .arg(steps.flush)
                                .arg(steps.rename)
                                .arg(steps.folderFlush)));
        QVERIFY(steps.open < steps.writes.first() && steps.writes.last() < steps.flush && steps.flush < steps.rename
                && steps.rename < steps.folderFlush);
        for (const Call &call : calls)
            QVERIFY2(!(call.name == "write" && call.fdPath == QFile::encodeName(target)), "written in place");
        QCOMPARE(readFile(target), steps.written);
        QVERIFY(steps.written != old);

        // Killed at each step: the old file up to the rename, the whole new one once it is done.
        QList<int> points;
        for (int point : {steps.open, steps.writes.first(), steps.writes.last(), steps.flush, steps.rename,
                          steps.folderFlush})
            if (!points.contains(point))
                points.append(point);
        for (int point : points) {
            const QString name = calls.at(point).name;
            int when = ordinal(calls, point);
            bool hit = false;
            for (int attempt = 0; attempt < kAttempts && !hit; ++attempt) {
                writeFile(target, old);
                QFile::remove(kWorkingDb); // as the export after a killed one removes it
                const int code = runChild(store, 1, {"-e", QString("inject=%1:signal=KILL:when=%2").arg(name).arg(when)});
                const QList<Call> run = readTrace(kLog);
                const int reached = code == -1 && !run.isEmpty() && run.last().result == "?" ? run.size() - 1 : -1;
                const int meant = stepIn(stepsOf(run, target), steps, point);
                hit = reached >= 0 && reached == meant;
                if (!hit) {
                    // Killed too early (another call of that name came first), too late, or never.
                    when += reached >= 0 && (meant < 0 || reached < meant) ? 1 : -1;
                    QVERIFY(when >= 1);
                    continue;
                }
                const QByteArray now = readFile(target);
                if (point <= steps.rename)
                    QVERIFY2(now == old, qPrintable(name + " killed: not the old file"));
                else
                    QVERIFY2(now == stepsOf(run, target).written, qPrintable(name + " killed: not the new file"));
            }
            QVERIFY2(hit, qPrintable(QString("the kill never landed on %1 number %2").arg(name).arg(when)));
        }

        // What the killed writers left is gone after the next write. An export that finds the working
        // database of a killed one still fails, and removes it for the export after it.
        if (QFile::exists(kWorkingDb)) {
            QCOMPARE(runChild(store, 1), 1);
            QVERIFY(!QFile::exists(kWorkingDb));
        }
        QCOMPARE(runChild(store, 1), 0);
        QCOMPARE(tempsOf(target), QStringList());
    }
};

int main(int argc, char **argv)
{
    if (argc == 4 && qstrcmp(argv[1], kChildArgument) == 0)
        return writeOnce(argc, argv);
    QCoreApplication app(argc, argv); // the parent only starts children and reads files
    TestCrashConsistency test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_crashconsistency.moc"
