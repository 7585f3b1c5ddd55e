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
        using F = SimFixture;
        QJsonObject detector = F::item("detector", 1, "int");
        detector.insert("enumStrings", QJsonArray{"Peak", "Sample", "RMS"});
        QJsonObject label = F::item("label", "x");
        label.insert("initValue", QJsonValue::Null);
        QJsonObject span = F::item("span", 5e6);
        span.insert("initValue", 1e8);
        const QJsonArray settings{F::item("centreFreq", 1e9), span, F::item("attenuation", 10, "int"),
                                  F::item("preamp", true), F::item("title", "Band 7"),
                                  F::item("traceModes", QJsonArray{"Clear Write", "Max Hold"}),
                                  F::item("limitLine", QJsonArray{-30.5, -40, 12.25}), detector, label,
                                  F::item("myAction", QJsonValue(), QString(), "action"),
                                  F::item("markers", QJsonArray{3, 1}, "intArray")};
        return F::model({F::app(kApp, {F::module("sa_reg_module", settings),
                                       F::module("sa_result", {F::item("power", -40.0, QString(), "result")})})});
    }

    static ELFClientInterface *client(const QString &service = kService)
    {
        return ELFClientInterface::getSessionBusClient(service);
    }

    static ElfData *item(const QString &name) { return client()->item(kReg + name); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_sim.startJson(testModel()));
    }

    void validityFollowsTheBus()
    {
        QVERIFY(!client("gem.base.nothere_app")->isValid());
        QVERIFY(client()->isValid());

        // A service that leaves and one that comes back after its client was made.
        QObject owner;
        ELFClientInterface *leaving = ELFClientInterface::getSessionBusClient(kService, &owner);
        m_sim.stop();
        QTRY_VERIFY(!leaving->isValid());
        QObject laterOwner;
        ELFClientInterface *early = ELFClientInterface::getSessionBusClient(kService, &laterOwner);
        QVERIFY(!early->isValid());
        QVERIFY(m_sim.startJson(testModel()));
        // SimFixture::start() returns once the name is on the bus and its events are delivered.
        QVERIFY(leaving->isValid() && early->isValid());
    }

    void clientsAreSharedPerService()
    {
        auto *first = client();
        auto *owner = new QObject;
        QCOMPARE(ELFClientInterface::getSessionBusClient(kService, owner), first);
        delete owner;
        QCOMPARE(client(), first);
        QVERIFY(first->isValid());
    }

    void moduleItemsLoadsEveryKindInOrder()
    {
        QStringList addresses{"stale"};
        QVERIFY(client()->moduleItems("sa_reg_module", addresses));
        QCOMPARE(addresses, (QStringList{kReg + "centreFreq:", kReg + "span:", kReg + "attenuation:", kReg + "preamp:",
                                         kReg + "title:", kReg + "traceModes:stringARRAY:",
                                         kReg + "limitLine:doubleARRAY:", kReg + "detector:", kReg + "label:",
                                         kAction + "myAction:", kReg + "markers:int32ARRAY:"}));
        const uint itemCalls = m_sim.stat("Item");

        QCOMPARE(item("centreFreq:")->getValue(), QVariant(1e9));
        QCOMPARE(item("attenuation:")->getValue(), QVariant(10));
        QCOMPARE(item("preamp:")->getValue(), QVariant(true));
        QCOMPARE(item("title:")->property("value"), QVariant("Band 7"));
        auto *modes = qobject_cast<ELFVecStringClientItem *>(item("traceModes:stringARRAY:"));
        QVERIFY(modes);
        QCOMPARE(modes->list(), (QStringList{"Clear Write", "Max Hold"}));
        auto *limit = qobject_cast<ELFVecDoubleClientItem *>(item("limitLine:doubleARRAY:"));
        QVERIFY(limit);
        QCOMPARE(limit->vector(), (QVector<double>{-30.5, -40, 12.25}));
        QCOMPARE(limit->count(), 3);
        QVERIFY(!qobject_cast<ELFVecDoubleClientItem *>(item("centreFreq:")));
        QCOMPARE(item("markers:int32ARRAY:")->getValue(), QVariant(QVariantList{3, 1}));

        QCOMPARE(item("span:")->getManifestAttr("initValue"), QVariant(1e8));
        QVERIFY(!item("label:")->getManifestAttr("initValue").isValid());
        QCOMPARE(item("detector:")->valueText(true), QStringLiteral("Sample"));
        QCOMPARE(item("detector:")->valueText(false), QStringLiteral("1"));
        QCOMPARE(m_sim.stat("Item"), itemCalls);

        // An unloaded item costs one call; an unknown one is null.
        QCOMPARE(client()->item(":result:sa_app:sa_result:power:")->getValue(), QVariant(-40.0));
        QVERIFY(!item("nothing:"));
        QCOMPARE(m_sim.stat("Item"), itemCalls + 2);
        QVERIFY(!client()->moduleItems("no_module", addresses));
        QVERIFY(addresses.isEmpty());
    }

    void manifestsCoverAddresses()
    {
        const QString address = QStringLiteral(":result:sa_app:sa_result:power:");
        client()->item(address); // loaded, but no manifest covers it yet
        QVERIFY(!Manifest::getElfData(address));
        auto *first = new Manifest(client(), kApp, "sa_result");
        ElfData *handle = Manifest::getElfData(address);
        QVERIFY(handle);
        QCOMPARE(first->addresses(), QStringList{address});
        // A manifest made with another application's client still asks its own application.
        Manifest second(client("gem.base.nothere_app"), kApp, "sa_result");
        QCOMPARE(second.addresses(), QStringList{address});
        delete first;
        QCOMPARE(Manifest::getElfData(address), handle);
        QVERIFY(Manifest(client(), kApp, "no_module").addresses().isEmpty());
    }

    void serviceChangesReachTheHandle()
    {
        ElfData *span = item("span:");
        QSignalSpy changed(span, &ElfData::valueChanged);
        QVERIFY(m_sim.setItem(kReg + "span:", 2e6, 1e8));
        QTRY_COMPARE(span->getValue(), QVariant(2e6));
        QVERIFY(m_sim.setItem(kReg + "span:", 2e6, 1e8)); // no change, no signal
        QVERIFY(m_sim.setItem(kReg + "title:", "sync", "x"));
        QTRY_COMPARE(item("title:")->getValue(), QVariant("sync"));
        QCOMPARE(changed.count(), 1);
    }

    void setValueIsImmediateAndReachesTheService()
    {
        ElfData *freq = item("centreFreq:");
        QSignalSpy changed(freq, &ElfData::valueChanged);
        m_sim.clearJournal();
        freq->setValue(2.5e9);
        QCOMPARE(freq->getValue(), QVariant(2.5e9));
        QCOMPARE(changed.count(), 1);
        freq->setProperty("value", QVariant("7.5e8")); // text from QML becomes a double
        QCOMPARE(freq->getValue(), QVariant(7.5e8));
        item("detector:")->setValue("RMS");
        QCOMPARE(item("detector:")->getValue(), QVariant(2));
        QVERIFY(client()->setItemValue(kReg + "limitLine:doubleARRAY:", QVariantList{1.5, 2}));

        QTRY_COMPARE(m_sim.journal(), (QVector<SimFixture::Entry>{{kService, kReg + "centreFreq:", "2.5e+09"},
                                                                  {kService, kReg + "centreFreq:", "7.5e+08"},
                                                                  {kService, kReg + "detector:", "2"},
                                                                  {kService, kReg + "limitLine:doubleARRAY:", "[1.5,2]"}}));
        // The service's echoes of the writes do not move the handle again.
        QCOMPARE(changed.count(), 2);
        QCOMPARE(freq->getValue(), QVariant(7.5e8));
    }

    void callActionRepliesAndTimeOuts()
    {
        const QString action = kAction + "myAction:";
        QString reply = "preset";
        QVERIFY(client()->callAction(action, "arg", &reply, 500));
        QCOMPARE(reply, QStringLiteral("OK"));

        QVERIFY(m_sim.setActionReply(action, "Busy"));
        QVERIFY(!client()->callAction(action, QString(), &reply, 500));
        QCOMPARE(reply, QStringLiteral("Busy"));
        QVERIFY(m_sim.setActionReply(action, QString()));

        // A late answer: the call gives up after its time-out, not after the delay, and the reply stays.
        QVERIFY(m_sim.setActionDelay(action, 3000));
        reply = "OK";
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!client()->callAction(action, QString(), &reply, 300));
        QVERIFY(timer.elapsed() < 2500);
        QCOMPARE(reply, QStringLiteral("OK"));
        QVERIFY(m_sim.setActionDelay(action, 0));

        QVERIFY(!client()->callAction(kAction + "noSuchAction:", QString(), &reply, 500));
        QCOMPARE(reply, QStringLiteral("OK"));
        QVERIFY(!client("gem.base.nothere_app")->callAction(action, QString(), &reply, 500));
    }

    void sigInfoReachesTheClient()
    {
        QSignalSpy info(client(), SIGNAL(SigInfo(QString)));
        QVERIFY(m_sim.sendInfo(kApp, "Calibration done"));
        QTRY_COMPARE(info.count(), 1);
        QCOMPARE(info.first().first(), QVariant("Calibration done"));
    }

    void snapshotListsEveryAddress()
    {
        ELFItemSnapshotTable items;
        ELFItemSnapshotTable results;
        QVERIFY(client()->snapshot(items, results));
        QCOMPARE(items.size(), 12);
        QCOMPARE(items.value(kReg + "span:").attributes.value("initValue"), QVariant(1e8));
        QCOMPARE(results.keys(), QStringList{":result:sa_app:sa_result:power:"});
    }

    // A refused write leaves the service's value and type: later values stay numbers.
    void refusedWritesKeepTheServiceValue()
    {
        ElfData *atten = item("attenuation:");
        const QString address = kReg + "attenuation:";
        atten->setValue(QString()); // no number: not shown, and the service refuses it
        QCOMPARE(atten->getValue(), QVariant(10));
        QVERIFY(m_sim.removeItem(address));
        QSignalSpy changed(atten, &ElfData::valueChanged);
        atten->setValue(20);
        QCOMPARE(atten->getValue(), QVariant(20));
        QTRY_COMPARE(changed.count(), 2);
        QCOMPARE(atten->getValue(), QVariant(10));
        QVERIFY(m_sim.setItem(address, 30, 10));
        QTRY_COMPARE(atten->getValue(), QVariant(30));
        atten->setValue("40");
        QCOMPARE(atten->getValue(), QVariant(40));
    }

    void cachedReadsMakeNoCalls()
    {
        QJsonArray items;
        for (int i = 0; i < 2000; ++i)
            items.append(SimFixture::item(QStringLiteral("setting%1").arg(i), i * 0.5));
        QVERIFY(m_sim.startJson(SimFixture::model({SimFixture::app("big_app", {SimFixture::module("big_reg_module", items)})})));
        ELFClientInterface *big = client("gem.base.big_app");
        QElapsedTimer timer;
        timer.start();
        QStringList addresses;
        QVERIFY(big->moduleItems("big_reg_module", addresses));
        QCOMPARE(addresses.size(), 2000);
        const QMap<QString, uint> before = m_sim.stats();
        double sum = 0;
        for (const QString &address : qAsConst(addresses))
            sum += big->item(address)->getValue().toDouble();
        qInfo("moduleItems and 2000 reads took %lld ms", timer.elapsed());
        QCOMPARE(sum, 0.5 * 1999 * 2000 / 2);
        QCOMPARE(m_sim.stats(), before);
        QCOMPARE(before.value("ModuleItems"), 1u);
    }

    // A living manifest answers for its module; a change of the module's items makes the next request
    // ask the service again.
    void livingManifestsAnswerModuleItems()
    {
        const QString removed = kReg + "label:";
        const QString added = kReg + "newcomer:";
        QVERIFY(m_sim.startJson(testModel()));
        QStringList addresses;
        {
            Manifest manifest(client(), kApp, "sa_reg_module");
            const uint calls = m_sim.stat("ModuleItems");
            QVERIFY(client()->moduleItems("sa_reg_module", addresses));
            QCOMPARE(addresses, manifest.addresses());
            QCOMPARE(m_sim.stat("ModuleItems"), calls);

            QVERIFY(m_sim.removeItem(removed));
            QTRY_VERIFY(client()->moduleItems("sa_reg_module", addresses) && !addresses.contains(removed));
            QVERIFY(m_sim.setItem(added, 7.0));
            QTRY_VERIFY(client()->moduleItems("sa_reg_module", addresses) && addresses.contains(added));
            const uint refreshed = m_sim.stat("ModuleItems");
            QVERIFY(client()->moduleItems("sa_reg_module", addresses));
            QCOMPARE(m_sim.stat("ModuleItems"), refreshed);
        }
        // Without a living manifest every request asks the service.
        const uint calls = m_sim.stat("ModuleItems");
        QVERIFY(client()->moduleItems("sa_reg_module", addresses));
        QCOMPARE(m_sim.stat("ModuleItems"), calls + 1);
    }
};

QTEST_GUILESS_MAIN(TestElfClient)
#include "tst_elfclient.moc"
