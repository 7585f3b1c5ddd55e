#include "setupdocument.h"

#include "appservice.h"
#include "filewriter.h"
#include "hbaselogging.h"
#include "jsonbytes.h"

#include <QFile>
#include <QJsonDocument>
#include <QTextStream>

#include <unistd.h>

namespace {
const char kUi[] = "UI";
const char kTab[] = "Tab";
const char kTab1[] = "Tab1";
const char kTabCount[] = "TabCount";

QString tabKey(int number)
{
    return QString::fromLatin1(kTab) + QString::number(number);
}

QJsonObject readObject(QFile &file)
{
    return QJsonDocument::fromJson(JsonBytes::read(file)).object();
}
} // namespace

const char SetupDocument::s_headerKey[] = "Header";
const char SetupDocument::s_resultTransferFile[] = "/tmp/LoadResult.oxs";

SetupDocument::SetupDocument(QMap<QString, QVariant> &ui)
    : m_ui(ui)
{
}

// A setup file carries its tab count and readers trust it, within the six tabs there are: a larger
// number means all six, a negative one or a text that is no number none.
int SetupDocument::tabCount() const
{
    const QVariant count = m_header.value(QString::fromLatin1(kTabCount));
    bool isNumber = false;
    const double value = count.toDouble(&isNumber);
    if (!isNumber || !(value >= 0))
        return 0;
    if (value >= TabFiles::s_count)
        return TabFiles::s_count;
    return qBound(0, count.toInt(), TabFiles::s_count);
}

bool SetupDocument::save(const QString &path, Content content)
{
    // Written aside and put in place at the end: a failure leaves the old file whole.
    FileWriter file(path);
    if (!file.open())
        return false;

    QJsonObject object;
    bool result = true;
    switch (content) {
    case Setup:
        result = writeSetup(object);
        break;
    case HeaderOnly:
        headerOnly(object);
        break;
    case Backup:
        backupSetup(object);
        break;
    case Logging:
        loggingSetup(object);
        break;
    case Last:
        lastSetup(object);
        break;
    case Nothing:
        break;
    }

    // A set-up whose tab files could not all be read back holds only its header, is still written, and
    // the call says false.
    const bool written = file.write(TabFiles::indented(object)) && file.commit();
    ::sync();
    return result && written;
}

// Each tab's settings come from its tab file, so the files must be written before a set-up is saved.
bool SetupDocument::writeSetup(QJsonObject &object)
{
    headerOnly(object);
    const int tabs = tabCount();
    for (int tab = 0; tab < tabs; ++tab) {
        if (!readTab(tab))
            return false;
    }
    for (int tab = 0; tab < tabs; ++tab)
        object.insert(tabKey(tab + 1), m_tabs[tab]);
    return true;
}

void SetupDocument::lastSetup(QJsonObject &object)
{
    headerOnly(object);
    object.insert(QString::fromLatin1(kUi), QJsonObject::fromVariantMap(m_ui));
    const int tabs = tabCount();
    for (int tab = 0; tab < tabs; ++tab)
        readTab(tab);
    for (int tab = 0; tab < tabs; ++tab)
        object.insert(tabKey(tab + 1), m_tabs[tab]);
}

void SetupDocument::backupSetup(QJsonObject &object)
{
    readTab(0);
    headerOnly(object);
    object.insert(tabKey(1), m_tabs[0]);
}

void SetupDocument::loggingSetup(QJsonObject &object)
{
    object = QJsonObject::fromVariantMap(m_header);
}

void SetupDocument::headerOnly(QJsonObject &object)
{
    object.insert(QString::fromLatin1(s_headerKey), QJsonObject::fromVariantMap(m_header));
}

bool SetupDocument::read(const QJsonObject &object)
{
    m_header = object.value(QString::fromLatin1(s_headerKey)).toObject().toVariantMap();
    m_ui = object.value(QString::fromLatin1(kUi)).toObject().toVariantMap();
    const int tabs = tabCount();
    bool written = true;
    for (int tab = 0; tab < tabs; ++tab) {
        m_tabs[tab] = object.value(tabKey(tab + 1)).toObject();
        written = writeTab(tab) && written;
    }
    return written;
}

bool SetupDocument::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    clear();
    // A tab file that could not be written would be recalled with old settings.
    return read(readObject(file));
}

bool SetupDocument::restore(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QJsonObject object = readObject(file);
    m_header = object.value(QString::fromLatin1(s_headerKey)).toObject().toVariantMap();
    m_tabs[0] = object.value(tabKey(1)).toObject();
    return writeTab(0);
}

bool SetupDocument::readResult(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    clear();
    const QJsonObject object = readObject(file);
    m_header = object.value(QString::fromLatin1(s_headerKey)).toObject().toVariantMap();
    m_result = object.value(QString::fromLatin1(kTab1)).toObject().toVariantMap();

    // The application recalls whatever the transfer file holds: it is replaced whole or not at all.
    return FileWriter::writeFile(QString::fromLatin1(s_resultTransferFile),
                                 TabFiles::indented(QJsonObject::fromVariantMap(m_result)));
}

// The file is opened before the capture: a tab file that cannot be made costs no call to the service.
bool SetupDocument::saveCapturedTab(int tab, const QString &appName)
{
    FileWriter file(TabFiles::path(tab));
    if (!file.open())
        return false;
    AppService::captureTab(appName, &m_tabs[tab]);
    return file.write(TabFiles::indented(m_tabs[tab])) && file.commit();
}

void SetupDocument::clear()
{
    m_header.clear();
    for (QJsonObject &tab : m_tabs)
        tab = QJsonObject();
    m_ui.clear();
}

int SetupDocument::jsonSize(const QMap<QString, QVariant> &map)
{
    return QString::fromUtf8(TabFiles::indented(QJsonObject::fromVariantMap(map))).size();
}

void SetupDocument::writeJson(const QMap<QString, QVariant> &map, QTextStream &stream, QFile &file)
{
    if (map.isEmpty())
        return;
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    stream.setCodec("UTF-8");
#else
    stream.setEncoding(QStringConverter::Utf8);
#endif
    stream << QString::fromUtf8(TabFiles::indented(QJsonObject::fromVariantMap(map)));
    stream.flush();
    file.flush();
}
