#ifndef HBASELOGGING_H
#define HBASELOGGING_H

#include <QLoggingCategory>

// Every logging category of the module, one per subsystem, so the interface's developers can switch
// them with QT_LOGGING_RULES (for example "hbase.*.debug=false"). The message texts themselves are
// the ones the interface and its tools have always seen.
Q_DECLARE_LOGGING_CATEGORY(lcParameters) // "hbase.parameters": bridges and channel-standard lookups
Q_DECLARE_LOGGING_CATEGORY(lcSave) // "hbase.save": set-ups, tabs, results, resets, folders
Q_DECLARE_LOGGING_CATEGORY(lcReport) // "hbase.report": screenshots and reports
Q_DECLARE_LOGGING_CATEGORY(lcTags) // "hbase.tags": site tags
Q_DECLARE_LOGGING_CATEGORY(lcModels) // "hbase.models": enumerations, channel plans, cable loss, gauges
Q_DECLARE_LOGGING_CATEGORY(lcLists) // "hbase.lists": favourites and the other stores
Q_DECLARE_LOGGING_CATEGORY(lcDesktop) // "hbase.services.desktop": the desktop service
Q_DECLARE_LOGGING_CATEGORY(lcFiles) // "hbase.files": the file writer
Q_DECLARE_LOGGING_CATEGORY(lcPrograms) // "hbase.programs": device programs that outlive their time-out

#endif // HBASELOGGING_H
