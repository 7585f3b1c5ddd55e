#include <QtTest>

#include "henvironment.h"

class TestHEnvironment : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fixedTexts()
    {
        HEnvironment first, second;
        for (HEnvironment *env : {&first, &second})
            QCOMPARE(env->property("baseDir").toString() + "|" + env->property("productName").toString(), "|TK520");
    }

    void failedServiceIsReadOnEveryCall()
    {
        HEnvironment env;
        // Unset, empty, non-ASCII, unset again: each read sees the variable as it is now.
        for (const char *value : {(const char *)nullptr, "", "gem.base.d\xc3\xa9mod_app", (const char *)nullptr}) {
            value ? qputenv("FAILED_SERVICE", value) : qunsetenv("FAILED_SERVICE");
            QCOMPARE(env.property("failedService").toString(), value ? QString::fromUtf8(value) : "Unknown service");
        }
    }
};

QTEST_GUILESS_MAIN(TestHEnvironment)
#include "tst_henvironment.moc"
