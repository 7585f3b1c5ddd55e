#ifndef FOLDERRIGHTS_H
#define FOLDERRIGHTS_H

#include <QString>

// Gives a path to owner root and group users with mode 775, recursively, as the instrument's file
// system expects of every user folder: the measurement applications write there under their own
// accounts. chown and chmod run as programs with an argument list, never through a shell, so the path
// reaches them as one argument whatever it holds, and a plain path gives exactly
// "chown -R root:users <path>" and "chmod -R 775 <path>". Their exit statuses are not reported.
class FolderRights
{
public:
    static void apply(const QString &path);

    // A path that starts with "-" would be read as an option by the programs that get it.
    static QString programArgument(const QString &path);
};

#endif // FOLDERRIGHTS_H
