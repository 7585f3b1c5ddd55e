#include <QtTest>

#include "henvironment.h"

class TestHEnvironment : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fixedTexts()
    {
        HEnvironment first;
        HEnvironment second;
        for (HEnvironment *env : {&first, &second}) {
            QCOMPARE(env->property("baseDir"), QVariant(QStringLiteral("")));
            QCOMPARE(env->property("productName"), QVariant(QStringLiteral("TK520")));
        }
    }

    void failedServiceIsReadOnEveryCall()
    {
        HEnvironment env;
        qunsetenv("FAILED_SERVICE");
        QCOMPARE(env.property("failedService").toString(), QStringLiteral("Unknown service"));
        qputenv("FAILED_SERVICE", "");
        QCOMPARE(env.property("failedService").toString(), QStringLiteral(""));
        qputenv("FAILED_SERVICE", "gem.base.d\xc3\xa9mod_app");
        QCOMPARE(env.property("failedService").toString(), QString::fromUtf8("gem.base.d\xc3\xa9mod_app"));
        qunsetenv("FAILED_SERVICE");
        QCOMPARE(env.property("failedService").toString(), QStringLiteral("Unknown service"));
    }
};

QTEST_GUILESS_MAIN(TestHEnvironment)
#include "tst_henvironment.moc"
