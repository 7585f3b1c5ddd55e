#ifndef HSAVE_H
#define HSAVE_H

#include "hbaselogging.h"
#include "setupdocument.h"

#include <QJsonObject>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

class QFile;
class QTextStream;
class persistentLog;

class HPdf;

// The save object behind every save, recall, copy and delete screen: the QML front of the units that do
// the work. Its sources only translate between QML and those units: hsave.cpp (the object itself),
// storagedirs.cpp (StorageTree), fileops.cpp (StarterFileActions, LocalFiles), tabsetup.cpp
// (SetupDocument, TabFiles, AppService), resultheaders.cpp (FileHeaders and the result recall),
// reset.cpp (DefaultValues, DeviceActions and the preset).
class HSave : public QObject
{
    Q_OBJECT
    Q_PROPERTY(CopyReply copyType READ copyType WRITE setCopyType NOTIFY copyTypeChanged)
    Q_PROPERTY(int type READ type WRITE setType NOTIFY typeChanged)
    Q_PROPERTY(int overlay READ overlay WRITE setOverlay NOTIFY overlayChanged)

public:
    enum SaveType : int {
        SAVE_RESULT = 0,
        SAVE_SETUP,
        SAVE_BACKUP,
        SAVE_LOGGING,
        SAVE_PDF,
        SAVE_LAST,
        SAVE_MPC,
        SAVE_SCREENSHOT,
        SAVE_IQ_FILE,
        SAVE_FREQ_LIST,
        SAVE_REPORT,
        SAVE_AUTOTEST_REPORT,
        SAVE_CABLE,
        SAVE_CHANNEL_PLAN,
        SAVE_MAX
    };
    Q_ENUM(SaveType)

    enum ResultType : int { LOAD_NONOVERLAY = 0, LOAD_OVERLAY = 1 };
    Q_ENUM(ResultType)

    enum CopyReply : int { COPY_FALSE = 0, COPY_TRUE, COPY_EXIST, COPY_EXIST_SAME };
    Q_ENUM(CopyReply)

    explicit HSave(QObject *parent = nullptr);
    ~HSave() override;

    CopyReply copyType() const;
    void setCopyType(CopyReply copyType);
    int type() const;
    void setType(int type);
    int overlay() const;
    void setOverlay(int overlay);

    // Storage directories (storagedirs.cpp).
    Q_INVOKABLE QString getSaveLoadDir();
    Q_INVOKABLE QString getDefaultDir(HSave::SaveType type);
    Q_INVOKABLE void createDefaultDirs();
    Q_INVOKABLE bool makeRootDir(const QString &name);
    Q_INVOKABLE bool makeDir(const QString &path, const QString &name, bool isPostfix = false);
    Q_INVOKABLE int getDirUsageSize(const QString &path);
    Q_INVOKABLE int getDirFreeSize(const QString &path);
    Q_INVOKABLE int getDirTotalSize(const QString &path);
    Q_INVOKABLE bool isEmptyFolder(const QString &path);
    Q_INVOKABLE bool isDir(const QString &path);
    Q_INVOKABLE bool extFolderExist(const QString &path);
    Q_INVOKABLE int getFileCountinDir(const QString &folderPath);

    // File operations (fileops.cpp).
    Q_INVOKABLE bool fileCopy(const QString &src, const QString &dst);
    Q_INVOKABLE int fileCopy(const QString &srcFilePath, const QString &srcFileName, const QString &dst);
    Q_INVOKABLE bool fileMove(const QString &src, const QString &dst);
    Q_INVOKABLE int fileMove(const QString &srcFilePath, const QString &srcFileName, const QString &dst);
    Q_INVOKABLE bool fileDelete(const QString &src);
    Q_INVOKABLE bool qFileCopy(const QString &src, const QString &dst, bool overWrite);
    Q_INVOKABLE bool qFileDelete(const QString &src);
    Q_INVOKABLE bool remove(const QString &pat, const QString &fileisDir);
    Q_INVOKABLE bool renameFile(const QString &oldName, const QString &newName);
    Q_INVOKABLE QString getAppendix(const QString &filePath);
    Q_INVOKABLE QString getFileAppendix(const QString &filePath, const QString &fileSuffix);
    Q_INVOKABLE QString getFileNameAppendix(const QString &filePath, const QString &filename,
                                            const QString &fileSuffix);
    Q_INVOKABLE QString addFileDirectory(const QString &filePath, const QString &dirName);
    Q_INVOKABLE QString fileSuffix(const QString &path);

    // Tab and setup files (tabsetup.cpp).
    Q_INVOKABLE bool save(const QString &filepath);
    Q_INVOKABLE void saveTabFileNew(int tabNum, const QString &appName, const QString &moduleName);
    Q_INVOKABLE void saveTabFile(int tabNum, const QString &appName, const QString &moduleName);
    Q_INVOKABLE void deleteTabFile(int tabNum);
    Q_INVOKABLE bool loadTabFile(int tabNum, const QString &appName);
    Q_INVOKABLE void renameTabFile(int tabNum);
    Q_INVOKABLE bool readTabFile(int tabNum);
    Q_INVOKABLE void clearAll();
    Q_INVOKABLE void addCommonHeader(const QString &pro, const QVariant &value);
    Q_INVOKABLE void addCommonUI(const QString &pro, const QVariant &value);
    Q_INVOKABLE bool loadSetup(const QString &filepath);
    Q_INVOKABLE bool restoreSetup(const QString &file);
    Q_INVOKABLE QString getHeader(const QString &name);
    Q_INVOKABLE QString getUI(const QString &name);

    void addTab(int tabNum, const QString &appName, const QString &moduleName);
    QMap<QString, QVariant> fromJsonString(const QString &text);
    // False when a tab file could not be written.
    bool read(const QJsonObject &object);
    bool writeSetup(QJsonObject &object);
    void lastSetup(QJsonObject &object);
    void backupSetup(QJsonObject &object);
    void loggingUISetup(QJsonObject &object);
    void saveMapProfile(QJsonObject &object);
    bool resultSetup(QJsonObject &object);
    bool saveToTabJsonFile(int tabNum);
    int getJsonSize(const QMap<QString, QVariant> &map);
    void saveVmToJson(const QMap<QString, QVariant> &map, QTextStream &stream, QFile &file);

    // Result files and file headers (resultheaders.cpp).
    Q_INVOKABLE void setResultFile(const QString &selTrace, const QString &appName, int length, bool isOverlay);
    Q_INVOKABLE bool readResult(const QString &filepath);
    Q_INVOKABLE bool readHeader(const QString &filepath, const QString &fileExt);

    void readHeaderPng(const QString &filepath);
    void readHeaderPdf(const QString &filepath);
    void readHeaderMcf(const QString &filepath);
    void readHeaderGom(const QString &filepath);
    bool readHeaderLogging(const QString &filepath);

    // Factory reset, presets and default values (reset.cpp).
    Q_INVOKABLE void factoryReset();
    Q_INVOKABLE bool presetAction(const QString &appName);
    Q_INVOKABLE bool resetAppElfItemsToDefaultValues(const QString &crAppName);
    Q_INVOKABLE bool resetTabElfItemsToDefaultValues(uint tabNumber, const QString &crAppName);
    Q_INVOKABLE void loadUpdatePackage(const QString &path);
    Q_INVOKABLE void showDocumnet(const QString &path);
    Q_INVOKABLE bool deleteScpiHashFile();
    Q_INVOKABLE void savePDF(const QString &filepath, const QString &inv, const QString &includeScreen);

    bool resetItemsFromFileToDefaultValue(const QString &crAppName, const QString &filePath,
                                          QMap<QString, QVariant> &map);

Q_SIGNALS:
    void copyTypeChanged();
    void typeChanged();
    void overlayChanged();

private:
    HPdf *m_pdf = nullptr;
    // The set-up being built or recalled; its "UI" table is the report's, so it comes after m_pdf.
    SetupDocument m_setup;
    CopyReply m_copyType = COPY_TRUE;
    int m_type = 1;
    int m_overlay = 0;
    QString m_scpiHashFile;
    std::unique_ptr<persistentLog> m_persistentLog;
};

#endif // HSAVE_H
