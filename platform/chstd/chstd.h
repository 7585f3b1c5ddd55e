#ifndef CHSTD_H
#define CHSTD_H

#include <QObject>

class ChBandStore;

// Entry point of the channel-standard library. Each user keeps one ChStd; all of them share the one
// band store.
class ChStd : public QObject
{
    Q_OBJECT

public:
    explicit ChStd(QObject *parent = nullptr);
    ~ChStd() override;

    // The process-wide band store; never null.
    static ChBandStore *GetChStdPointer();
};

#endif // CHSTD_H
