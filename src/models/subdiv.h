#ifndef SUBDIV_H
#define SUBDIV_H

#include <QString>

// One scale label of the arc gauge: its text and where QML draws it.
struct SubDiv
{
    QString text;
    int x = 0;
    int y = 0;
};

#endif // SUBDIV_H
