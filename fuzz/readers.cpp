// One libFuzzer target per reader of files that a user or another program can write. The target's
// reader is chosen when it is built (HBASE_FUZZ_READER); each input is written where the reader
// expects its file and read once. Runs only inside tests/sandbox: the readers use the instrument's
// fixed paths (/tmp, /user, /base).

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <string>

#include "frequencylossmodel.h"
#include "henumlist.h"
#include "hfavoritedb.h"
#include "hhistoryfilename.h"
#include "hmapprofilelist.h"
#include "hpositionfileio.h"
#include "hsave.h"
#include "htagfile.h"
#include "persistentlog.h"

namespace {
const char kInput[] = "/tmp/fuzz-input";
const char kTagFile[] = "/base/qml_4410/hetnet_private/tagNameList.json";

// The readers write their diagnostics for every input; the fuzzer only needs them silent.
void quiet(QtMsgType, const QMessageLogContext &, const QString &) { }

QString put(const QString &path, const uint8_t *data, size_t size)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    return path;
}

// One HSave for the whole run: constructing it creates the storage tree every time.
HSave &save()
{
    static HSave instance;
    return instance;
}

// Every restored group and favourite starts chown and chmod, two processes of some 70 ms each from an
// instrumented binary: a file of many acceptable rows is slow by design, not a hang. Files of more
// than two rows are left out; the reading and checking of a row does not depend on how many follow.
const int kMaxImportRows = 2;

bool fewRows(const QString &path)
{
    const QString connection = QStringLiteral("fuzz-count");
    int rows = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(QStringLiteral("select count(*) from FAVORITE_FILES"), db);
            rows = query.next() ? query.value(0).toInt() : 0;
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return rows <= kMaxImportRows;
}

void header(const QString &kind, const uint8_t *data, size_t size)
{
    save().readHeader(put(QString::fromLatin1(kInput) + QLatin1Char('.') + kind, data, size), kind);
}

using Reader = std::function<void(const uint8_t *, size_t)>;

const std::map<std::string, Reader> &readers()
{
    static const std::map<std::string, Reader> table = {
        {"setup", [](const uint8_t *d, size_t n) { save().loadSetup(put(kInput, d, n)); }},
        {"result", [](const uint8_t *d, size_t n) { save().readResult(put(kInput, d, n)); }},
        {"header_json", [](const uint8_t *d, size_t n) { header(QStringLiteral("stp"), d, n); }},
        {"header_map", [](const uint8_t *d, size_t n) { header(QStringLiteral("gom"), d, n); }},
        {"header_coverage", [](const uint8_t *d, size_t n) { header(QStringLiteral("mcf"), d, n); }},
        {"header_png", [](const uint8_t *d, size_t n) { header(QStringLiteral("png"), d, n); }},
        {"header_pdf", [](const uint8_t *d, size_t n) { header(QStringLiteral("pdf"), d, n); }},
        {"header_logging", [](const uint8_t *d, size_t n) { header(QStringLiteral("grr"), d, n); }},
        {"persistentlog", [](const uint8_t *d, size_t n) { persistentLog().loadUiSetup(put(kInput, d, n)); }},
        {"cableloss",
         [](const uint8_t *d, size_t n) {
             const QString text = QString::fromUtf8(reinterpret_cast<const char *>(d), int(n));
             FrequencyLossModel::tableText(FrequencyLossModel::parseTable(text));
         }},
        {"enumlist",
         [](const uint8_t *d, size_t n) {
             HEnumList list;
             list.setFile(put(kInput, d, n));
             if (list.loadFile(true))
                 list.getListByFullId(
                     QStringLiteral(":config:spectrumanalyzer_app:spectrumanalyzer_reg_module:detector:"));
         }},
        {"tags",
         [](const uint8_t *d, size_t n) {
             put(QString::fromLatin1(kTagFile), d, n);
             HTagFile tags;
             tags.read();
             tags.getTag(QStringLiteral("Sector1"));
         }},
        {"history",
         [](const uint8_t *d, size_t n) {
             HHistoryFileName history;
             history.setSource(put(kInput, d, n));
             history.getName(history.count() - 1);
         }},
        {"positions",
         [](const uint8_t *d, size_t n) {
             HPositionFileIO positions;
             positions.setSource(put(kInput, d, n));
         }},
        {"mapprofile",
         [](const uint8_t *d, size_t n) {
             HMapProFileList profiles;
             profiles.read(put(kInput, d, n));
             profiles.getInfo(QStringLiteral("Name"));
         }},
        {"favorites",
         [](const uint8_t *d, size_t n) {
             const QString path = put(kInput, d, n);
             if (fewRows(path))
                 HFavoriteDB().importDB(path);
         }},
    };
    return table;
}

const Reader *reader = nullptr;
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    qInstallMessageHandler(quiet);
    const auto found = readers().find(HBASE_FUZZ_READER);
    if (found == readers().end())
        qFatal("no reader named %s", HBASE_FUZZ_READER);
    reader = &found->second;
    save(); // makes the storage tree now, not in the first input's time
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    (*reader)(data, size);
    return 0;
}
