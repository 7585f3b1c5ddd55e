#include "chstd.h"

#include "chbandstore.h"

ChStd::ChStd(QObject *parent)
    : QObject(parent)
{
}

ChStd::~ChStd() = default;

ChBandStore *ChStd::GetChStdPointer()
{
    static ChBandStore store;
    return &store;
}
