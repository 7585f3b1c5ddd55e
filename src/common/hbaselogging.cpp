#include "hbaselogging.h"

Q_LOGGING_CATEGORY(lcParameters, "hbase.parameters")
Q_LOGGING_CATEGORY(lcSave, "hbase.save")
Q_LOGGING_CATEGORY(lcReport, "hbase.report")
Q_LOGGING_CATEGORY(lcTags, "hbase.tags")
Q_LOGGING_CATEGORY(lcModels, "hbase.models")
Q_LOGGING_CATEGORY(lcLists, "hbase.lists")
Q_LOGGING_CATEGORY(lcDesktop, "hbase.services.desktop")
Q_LOGGING_CATEGORY(lcFiles, "hbase.files")
Q_LOGGING_CATEGORY(lcPrograms, "hbase.programs")
