#include <QtTest>

#include "elfclientinterface.h"
#include "elfdata.h"
#include "manifest.h"
#include "simfixture.h"

static const QString kApp = QStringLiteral("sa_app");
static const QString kService = QStringLiteral("gem.base.sa_app");
static const QString kReg = QStringLiteral(":config:sa_app:sa_reg_module:");
static const QString kAction = QStringLiteral(":action:sa_app:sa_reg_module:");

class TestElfClient : public QObject
{
    Q_OBJECT

private:
    SimFixture m_sim;

    static QJsonObject testModel()
    {
        QJsonObject detector = SimFixture::item(QStringLiteral("detector"), 1, QStringLiteral("int"));
        detector.insert(QStringLiteral("enumStrings"), QJsonArray{"Peak", "Sample", "RMS"});
        QJsonObject noDefault = SimFixture::item(QStringLiteral("label"), QStringLiteral("x"));
        noDefault.insert(QStringLiteral("initValue"), QJsonValue::Null);
        QJsonObject span = SimFixture::item(QStringLiteral("span"), 5e6);
        span.insert(QStringLiteral("initValue"), 1e8);
        const QJsonArray settings{
            SimFixture::item(QStringLiteral("centreFreq"), 1e9),
            span,
            SimFixture::item(QStringLiteral("attenuation"), 10, QStringLiteral("int")),
            SimFixture::item(QStringLiteral("preamp"), true),
            SimFixture::item(QStringLiteral("title"), QStringLiteral("Band 7")),
            SimFixture::item(QStringLiteral("traceModes"), QJsonArray{"Clear Write", "Max Hold"}),
            SimFixture::item(QStringLiteral("limitLine"), QJsonArray{-30.5, -40, 12.25}),
            detector,
            noDefault,
            SimFixture::item(QStringLiteral("myAction"), QJsonValue(), QString(), QStringLiteral("action")),
            SimFixture::item(QStringLiteral("markers"), QJsonArray{3, 1}, QStringLiteral("intArray")),
        };
        const QJsonArray results{SimFixture::item(QStringLiteral("power"), -40.0, QString(), QStringLiteral("result"))};
        return SimFixture::model({SimFixture::app(kApp, {SimFixture::module(QStringLiteral("sa_reg_module"), settings),
                                                          SimFixture::module(QStringLiteral("sa_result"), results)})});
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_sim.startJson(testModel()));
    }

    void validityFollowsTheBus()
    {
        ELFClientInterface *absent = ELFClientInterface::getSessionBusClient(QStringLiteral("gem.base.nothere_app"));
        QVERIFY(!absent->isValid());
        QVERIFY(ELFClientInterface::getSessionBusClient(kService)->isValid());

        // A service that leaves and one that comes back after its client was made.
        QObject owner;
        ELFClientInterface *client = ELFClientInterface::getSessionBusClient(kService, &owner);
        m_sim.stop();
        QTRY_VERIFY(!client->isValid());
        QObject laterOwner;
        ELFClientInterface *early = ELFClientInterface::getSessionBusClient(kService, &laterOwner);
        QVERIFY(!early->isValid());
        QVERIFY(m_sim.startJson(testModel()));
        // SimFixture::start() returns once the name is on the bus and its events are delivered.
        QVERIFY(client->isValid());
        QVERIFY(early->isValid());
    }

    void clientsAreSharedPerServiceAndParent()
    {
        auto *first = ELFClientInterface::getSessionBusClient(kService);
        QCOMPARE(ELFClientInterface::getSessionBusClient(kService), first);
        auto *owner = new QObject;
        auto *owned = ELFClientInterface::getSessionBusClient(kService, owner);
        QVERIFY(owned != first);
        QCOMPARE(owned->parent(), owner);
        QCOMPARE(ELFClientInterface::getSessionBusClient(kService, owner), owned);
        QPointer<ELFClientInterface> guard(owned);
        delete owner;
        QVERIFY(guard.isNull());
        // Whatever object takes the dead parent's place gets a fresh, living client.
        QObject next;
        auto *fresh = ELFClientInterface::getSessionBusClient(kService, &next);
        QCOMPARE(fresh->parent(), &next);
        QVERIFY(fresh->isValid());
    }

    void moduleItemsLoadsEveryKindInOrder()
    {
        ELFClientInterface *client = ELFClientInterface::getSessionBusClient(kService);
        QStringList addresses{QStringLiteral("stale")};
        QVERIFY(client->moduleItems(QStringLiteral("sa_reg_module"), addresses));
        const QStringList expected{kReg + "centreFreq:", kReg + "span:", kReg + "attenuation:", kReg + "preamp:",
                                   kReg + "title:", kReg + "traceModes:stringARRAY:",
                                   kReg + "limitLine:doubleARRAY:", kReg + "detector:", kReg + "label:",
                                   kAction + "myAction:", kReg + "markers:int32ARRAY:"};
        QCOMPARE(addresses, expected);
        const uint itemCalls = m_sim.stat(QStringLiteral("Item"));

        QCOMPARE(client->item(kReg + "centreFreq:")->getValue(), QVariant(1e9));
        QCOMPARE(client->item(kReg + "attenuation:")->getValue(), QVariant(10));
        QCOMPARE(client->item(kReg + "preamp:")->getValue(), QVariant(true));
        QCOMPARE(client->item(kReg + "title:")->property("value"), QVariant(QStringLiteral("Band 7")));
        auto *modes = qobject_cast<ELFVecStringClientItem *>(client->item(kReg + "traceModes:stringARRAY:"));
        QVERIFY(modes);
        QCOMPARE(modes->list(), (QStringList{"Clear Write", "Max Hold"}));
        QCOMPARE(modes->count(), 2);
        auto *limit = qobject_cast<ELFVecDoubleClientItem *>(client->item(kReg + "limitLine:doubleARRAY:"));
        QVERIFY(limit);
        QCOMPARE(limit->vector(), (QVector<double>{-30.5, -40, 12.25}));
        QCOMPARE(limit->count(), 3);
        QVERIFY(!qobject_cast<ELFVecDoubleClientItem *>(client->item(kReg + "centreFreq:")));
        QCOMPARE(client->item(kReg + "markers:int32ARRAY:")->getValue(), QVariant(QVariantList{3, 1}));
        QCOMPARE(client->item(kReg + "markers:int32ARRAY:")->count(), 2);

        ElfData *span = client->item(kReg + "span:");
        QCOMPARE(span->getManifestAttr(QStringLiteral("initValue")), QVariant(1e8));
        QVERIFY(!client->item(kReg + "label:")->getManifestAttr(QStringLiteral("initValue")).isValid());
        ElfData *detector = client->item(kReg + "detector:");
        QCOMPARE(detector->valueText(true), QStringLiteral("Sample"));
        QCOMPARE(detector->valueText(false), QStringLiteral("1"));
        QCOMPARE(detector->property("valueText").toString(), QStringLiteral("Sample"));
        QCOMPARE(m_sim.stat(QStringLiteral("Item")), itemCalls);

        // An unloaded item costs one call; an unknown one is null.
        QCOMPARE(client->item(QStringLiteral(":result:sa_app:sa_result:power:"))->getValue(), QVariant(-40.0));
        QVERIFY(!client->item(kReg + "nothing:"));
        QCOMPARE(m_sim.stat(QStringLiteral("Item")), itemCalls + 2);
        QVERIFY(!client->moduleItems(QStringLiteral("no_module"), addresses));
        QVERIFY(addresses.isEmpty());
    }

    void manifestsCoverAddresses()
    {
        const QString address = QStringLiteral(":result:sa_app:sa_result:power:");
        ELFClientInterface *client = ELFClientInterface::getSessionBusClient(kService);
        client->item(address); // loaded, but no manifest covers it yet
        QVERIFY(!Manifest::getElfData(address));
        auto *first = new Manifest(client, kApp, QStringLiteral("sa_result"));
        ElfData *handle = Manifest::getElfData(address);
        QVERIFY(handle);
        QCOMPARE(first->addresses(), QStringList{address});
        // A manifest made with another application's client still asks its own application.
        Manifest second(ELFClientInterface::getSessionBusClient(QStringLiteral("gem.base.nothere_app")), kApp,
                        QStringLiteral("sa_result"));
        QCOMPARE(second.addresses(), QStringList{address});
        delete first;
        QCOMPARE(Manifest::getElfData(address), handle);
        Manifest empty(client, kApp, QStringLiteral("no_module"));
        QVERIFY(empty.addresses().isEmpty());
    }

    void serviceChangesReachTheHandle()
    {
        ELFClientInterface *client = ELFClientInterface::getSessionBusClient(kService);
        ElfData *span = client->item(kReg + "span:");
        QSignalSpy changed(span, &ElfData::valueChanged);
        QVERIFY(m_sim.setItem(kReg + "span:", 2e6, 1e8));
        QTRY_COMPARE(span->getValue(), QVariant(2e6));
        QVERIFY(m_sim.setItem(kReg + "span:", 2e6, 1e8)); // no change, no signal
        QVERIFY(m_sim.setItem(kReg + "title:", QStringLiteral("sync"), QStringLiteral("x")));
        QTRY_COMPARE(client->item(kReg + "title:")->getValue(), QVariant(QStringLiteral("sync")));
        QCOMPARE(changed.count(), 1);
    }

    void setValueIsImmediateAndReachesTheService()
    {
        ELFClientInterface *client = ELFClientInterface::getSessionBusClient(kService);
        ElfData *freq = client->item(kReg + "centreFreq:");
        QSignalSpy changed(freq, &ElfData::valueChanged);
        m_sim.clearJournal();
        freq->setValue(2.5e9);
        QCOMPARE(freq->getValue(), QVariant(2.5e9));
        QCOMPARE(changed.count(), 1);
        freq->setProperty("value", QVariant(QStringLiteral("7.5e8"))); // text from QML becomes a double
        QCOMPARE(freq->getValue(), QVariant(7.5e8));
        client->item(kReg + "detector:")->setValue(QStringLiteral("RMS"));
        QCOMPARE(client->item(kReg + "detector:")->getValue(), QVariant(2));
        QVERIFY(client->setItemValue(kReg + "limitLine:doubleARRAY:", QVariantList{1.5, 2}));

        const QVector<SimFixture::Entry> expected{{kService, kReg + "centreFreq:", "2.5e+09"},
                                                  {kService, kReg + "centreFreq:", "7.5e+08"},
                                                  {kService, kReg + "detector:", "2"},
                                                  {kService, kReg + "limitLine:doubleARRAY:", "[1.5,2]"}};
        QTRY_COMPARE(m_sim.journal(), expected);
        // The service's echoes of the writes do not move the handle again.
        QCOMPARE(changed.count(), 2);
        QCOMPARE(freq->getValue(), QVariant(7.5e8));
    }

    void callActionRepliesAndTimeOuts()
    {
        ELFClientInterface *client = ELFClientInterface::getSessionBusClient(kService);
        const QString action = kAction + "myAction:";
        QString reply = QStringLiteral("preset");
        QVERIFY(client->callAction(action, QStringLiteral("arg"), &reply, 500));
        QCOMPARE(reply, QStringLiteral("OK"));

        QVERIFY(m_sim.setActionReply(action, QStringLiteral("Busy")));
        QVERIFY(!client->callAction(action, QString(), &reply, 500));
        QCOMPARE(reply, QStringLiteral("Busy"));
        QVERIFY(m_sim.setActionReply(action, QString()));

        QVERIFY(m_sim.setActionDelay(action, 3000));
        reply = QStringLiteral("OK");
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!client->callAction(action, QString(), &reply, 300));
        const qint64 elapsed = timer.elapsed();
        qDebug() << "late action returned after" << elapsed << "ms";
        QVERIFY(elapsed < 2500);
        QCOMPARE(reply, QStringLiteral("OK"));
        QVERIFY(m_sim.setActionDelay(action, 0));

        QVERIFY(!client->callAction(kAction + "noSuchAction:", QString(), &reply, 500));
        QCOMPARE(reply, QStringLiteral("OK"));
        QVERIFY(!ELFClientInterface::getSessionBusClient(QStringLiteral("gem.base.nothere_app"))
                     ->callAction(action, QString(), &reply, 500));
    }

    void sigInfoReachesTheClient()
    {
        ELFClientInterface *client = ELFClientInterface::getSessionBusClient(kService);
        QSignalSpy info(client, SIGNAL(SigInfo(QString)));
        QVERIFY(m_sim.sendInfo(kApp, QStringLiteral("Calibration done")));
        QTRY_COMPARE(info.count(), 1);
        QCOMPARE(info.first().first(), QVariant(QStringLiteral("Calibration done")));
    }

    void snapshotListsEveryAddress()
    {
        ELFItemSnapshotTable items;
        ELFItemSnapshotTable results;
        QVERIFY(ELFClientInterface::getSessionBusClient(kService)->snapshot(items, results));
        QCOMPARE(items.size(), 12);
        QVERIFY(items.contains(kReg + "limitLine:doubleARRAY:"));
        QCOMPARE(items.value(kReg + "span:").attributes.value(QStringLiteral("initValue")), QVariant(1e8));
        QCOMPARE(results.keys(), QStringList{QStringLiteral(":result:sa_app:sa_result:power:")});
    }

    void cachedReadsMakeNoCalls()
    {
        QJsonArray items;
        for (int i = 0; i < 2000; ++i)
            items.append(SimFixture::item(QStringLiteral("setting%1").arg(i), i * 0.5));
        QVERIFY(m_sim.startJson(SimFixture::model({SimFixture::app(QStringLiteral("big_app"),
                                                                   {SimFixture::module(QStringLiteral("big_reg_module"), items)})})));
        ELFClientInterface *client = ELFClientInterface::getSessionBusClient(QStringLiteral("gem.base.big_app"));
        QElapsedTimer timer;
        timer.start();
        QStringList addresses;
        QVERIFY(client->moduleItems(QStringLiteral("big_reg_module"), addresses));
        QCOMPARE(addresses.size(), 2000);
        const QMap<QString, uint> before = m_sim.stats();
        double sum = 0;
        for (const QString &address : qAsConst(addresses))
            sum += client->item(address)->getValue().toDouble();
        qDebug() << "moduleItems and 2000 reads took" << timer.elapsed() << "ms";
        QCOMPARE(sum, 0.5 * 1999 * 2000 / 2);
        QCOMPARE(m_sim.stats(), before);
        QCOMPARE(before.value(QStringLiteral("ModuleItems")), 1u);
    }
};

QTEST_GUILESS_MAIN(TestElfClient)
#include "tst_elfclient.moc"
