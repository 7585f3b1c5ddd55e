#ifndef STARTERFILES_H
#define STARTERFILES_H

#include <QString>

// The starter application's file actions. Copies, moves and deletes of user files are not done by the
// interface's process: the starter performs them with its own rights.
class StarterFiles
{
public:
    static const char s_copyAction[];
    static const char s_moveAction[];
    static const char s_deleteAction[];
    static const char s_replyOk[];

    // Sends one action with a 500 ms time-out and returns the reply. The reply is preset to "OK" and
    // stays so when the starter is not on the bus or does not answer in time; callers rely on that.
    static QString send(const char *action, const QString &argument);

    // The argument of a copy or a move: source, "|", destination.
    static QString pair(const QString &src, const QString &dst);
};

#endif // STARTERFILES_H
