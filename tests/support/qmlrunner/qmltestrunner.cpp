// qmltestrunner for a cross build: the same command line (-import, -input) as Qt's own runner.
#include <QtQuickTest>

QUICK_TEST_MAIN(hbase)
