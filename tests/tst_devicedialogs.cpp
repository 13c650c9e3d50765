// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "datagramcodec.h"
#include "devicetext.h"
#include "dialogtesting.h"
#include "ledsession.h"
#include "mysocket.h"
#include "processdialog.h"
#include "subdeviceinfo.h"
#include "testdevices.h"
#include "testpeer.h"

#include <QLabel>
#include <QNetworkInterface>
#include <QProcess>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTranslator>
#include <QtTest>

namespace {

const QString DeviceMac = QStringLiteral("00:1A:2B:3C:4D:5E");
const QString ReadOnlyStyle
    = QStringLiteral("color: black;background-color: rgb(180, 180, 180);selection-color: yellow;"
                     "selection-background-color: blue;");

// Translates every text into its context and source, so a test sees which
// context each text was looked up in.
class ContextTagTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        return QString::fromUtf8(context) + QLatin1Char('|') + QString::fromUtf8(sourceText);
    }
};

// What a warning box showed before the test pressed its only button.
struct ShownBox
{
    bool shown = false;
    QString title;
    QString text;
    QStringList buttons;
    QString defaultButton;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

void answerNextBox(QObject *scope, ShownBox *seen)
{
    whenModal<QMessageBox>(scope, [seen](QMessageBox *box) {
        seen->shown = true;
        seen->title = box->windowTitle();
        seen->text = box->text();
        for (QAbstractButton *button : box->buttons())
            seen->buttons << button->text();
        if (box->defaultButton())
            seen->defaultButton = box->defaultButton()->text();
        seen->icon = box->icon();
        box->buttons().first()->click();
    });
}

QLineEdit *field(QDialog &dialog, const char *name)
{
    return dialog.findChild<QLineEdit *>(QLatin1String(name));
}

QPushButton *button(QDialog &dialog, const char *name)
{
    return dialog.findChild<QPushButton *>(QLatin1String(name));
}

void retype(QLineEdit *edit, const QString &text)
{
    edit->clear();
    QTest::keyClicks(edit, text);
}

// The texts of the labels a user sees.
QStringList labelTexts(QDialog &dialog)
{
    QStringList texts;
    for (QLabel *label : dialog.findChildren<QLabel *>()) {
        if (!label->isHidden())
            texts << label->text();
    }
    return texts;
}

} // namespace

class TestDeviceDialogs : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void showsTheCurrentRow();
    void validation_data();
    void validation();
    void modifyWritesOneRequest_data();
    void modifyWritesOneRequest();
    void enterInAFieldPressesModify_data();
    void enterInAFieldPressesModify();
    void writeGuard_data();
    void writeGuard();
    void keysStartAtTheIp_data();
    void keysStartAtTheIp();
    void ledFailureLineGoesWhenFlashingWorks();
    void closingEmitsOnceAndSendsNothing_data();
    void closingEmitsOnceAndSendsNothing();
    void textsCarryTheirContexts();
    void progressRunsToTheEndAndCloses();

private:
    // Makes the device the one the window opens next, as a listed reply does.
    void addRow(quint8 type, const QString &name, const QString &mac);

    TestPeer *peer = nullptr;
    MySocket *endpoint = nullptr;
    DeviceRecord current;
};

void TestDeviceDialogs::init()
{
    peer = new TestPeer(this);
    QString error;
    QVERIFY2(peer->bind(&error), qPrintable(error));
    endpoint = new MySocket;
    QVERIFY2(endpoint->initUdpSocket(), qPrintable(endpoint->bindErrorString()));
}

void TestDeviceDialogs::cleanup()
{
    closeLeftoverModals();
    current = DeviceRecord();
    delete endpoint;
    delete peer;
}

void TestDeviceDialogs::addRow(quint8 type, const QString &name, const QString &mac)
{
    TestDevice device;
    device.type = type;
    device.name = name;
    // Requests to the device reach the test peer.
    device.ip = TestPeer::DeviceIp;
    device.mac = mac;
    device.gateway = QStringLiteral("192.168.1.1");
    current = device.record();
}

void TestDeviceDialogs::showsTheCurrentRow()
{
    addRow(1, QStringLiteral("first"), QStringLiteral("00:00:00:00:00:01"));
    addRow(3, QStringLiteral("drive"), DeviceMac);
    SubDeviceInfo dialog(current, nullptr, endpoint);

    QCOMPARE(dialog.windowTitle(), QStringLiteral("PLC Info"));
    QVERIFY(hasDialogFlags(&dialog));
    QCOMPARE(labelTexts(dialog),
        QStringList({ "Device Name", "PLC Version", "IP Address", "Net Mask", "Gate Way",
            "MAC Address", "Tips: Modified to take effect after restarting the device!" }));
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("tipLabel"))->styleSheet(),
        QStringLiteral("color: blue;"));

    const char *const order[]
        = { "deviceNameEdit", "plcVersionEdit", "ipEdit", "netMaskEdit", "gateWayEdit", "macEdit" };
    const QStringList texts
        = { "drive", "1.2.0.10", TestPeer::DeviceIp, "255.255.255.0", "192.168.1.1", DeviceMac };
    const QStringList readOnly = { "deviceNameEdit", "plcVersionEdit", "macEdit" };
    dialog.show();
    int previousTop = -1;
    for (int i = 0; i < 6; ++i) {
        QLineEdit *edit = field(dialog, order[i]);
        QVERIFY(edit);
        QCOMPARE(edit->text(), texts.at(i));
        const bool locked = readOnly.contains(QLatin1String(order[i]));
        QCOMPARE(edit->isReadOnly(), locked);
        QCOMPARE(edit->styleSheet(), locked ? ReadOnlyStyle : QString());
        QVERIFY(edit->y() > previousTop);
        previousTop = edit->y();
    }
    QCOMPARE(dialog.tableMac(), macOf(DeviceMac));

    QCOMPARE(button(dialog, "modifyButton")->text(), QStringLiteral("Modify"));
    QCOMPARE(button(dialog, "closeButton")->text(), QStringLiteral("Close"));
    QCOMPARE(button(dialog, "modifyButton")->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(button(dialog, "closeButton")->cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(button(dialog, "modifyButton")->isDefault());
}

void TestDeviceDialogs::validation_data()
{
    QTest::addColumn<QString>("ip");
    QTest::addColumn<QString>("netMask");
    QTest::addColumn<QString>("gateWay");
    QTest::addColumn<QString>("mac");
    QTest::addColumn<QString>("error");

    const QString ip = QStringLiteral("192.168.1.10");
    const QString mask = QStringLiteral("255.255.255.0");
    const QString gw = QStringLiteral("192.168.1.1");
    const QString ipError = QStringLiteral("IP Address Error!");
    const QString macError = QStringLiteral("MAC Address Error!");
    QTest::newRow("all valid") << ip << mask << gw << DeviceMac << QString();
    QTest::newRow("empty ip") << QString() << mask << gw << DeviceMac << ipError;
    QTest::newRow("ip group above 255") << "192.168.1.256" << mask << gw << DeviceMac << ipError;
    QTest::newRow("leading zeros pass")
        << "192.168.001.010" << mask << gw << DeviceMac << QString();
    QTest::newRow("ip and mask wrong shows the ip") << "192.168.1.256"
                                                    << "255.255.255" << gw << DeviceMac << ipError;
    QTest::newRow("a mask with gaps")
        << ip << "255.0.255.0" << gw << DeviceMac << QStringLiteral("Net Mask Error!");
    QTest::newRow("the subnet's broadcast address")
        << "192.168.1.255" << mask << gw << DeviceMac << ipError;
    QTest::newRow("mask with three groups")
        << ip << "255.255.255" << gw << DeviceMac << QStringLiteral("Net Mask Error!");
    QTest::newRow("gateway ending in a dot")
        << ip << mask << "192.168.1." << DeviceMac << QStringLiteral("Gate Way Error!");
    QTest::newRow("leading blank") << " " + ip << mask << gw << DeviceMac << ipError;
    QTest::newRow("trailing blank")
        << ip << mask << gw + " " << DeviceMac << QStringLiteral("Gate Way Error!");
    QTest::newRow("mac in mixed case") << ip << mask << gw << "00:1a:2B:3c:4D:5e" << QString();
    QTest::newRow("mac with dashes") << ip << mask << gw << "00-1A-2B-3C-4D-5E" << QString();
    QTest::newRow("mac of five bytes") << ip << mask << gw << "00:1A:2B:3C:4D" << macError;
    QTest::newRow("empty mac") << ip << mask << gw << QString() << macError;
    QTest::newRow("bad ip and bad mac shows the ip")
        << "1.2.3" << mask << gw << QString() << ipError;
}

void TestDeviceDialogs::validation()
{
    QFETCH(QString, ip);
    QFETCH(QString, netMask);
    QFETCH(QString, gateWay);
    QFETCH(QString, mac);
    QFETCH(QString, error);

    addRow(1, QStringLiteral("PLC1"), DeviceMac);
    SubDeviceInfo dialog(current, nullptr, endpoint);
    QSignalSpy closed(&dialog, &SubDeviceInfo::subPlcWindowClosed);
    dialog.show();
    // Read-only for the user; the check covers it all the same.
    field(dialog, "macEdit")->setText(mac);
    retype(field(dialog, "ipEdit"), ip);
    retype(field(dialog, "netMaskEdit"), netMask);
    retype(field(dialog, "gateWayEdit"), gateWay);

    QObject scope;
    ShownBox box;
    answerNextBox(&scope, &box);
    QTest::mouseClick(button(dialog, "modifyButton"), Qt::LeftButton);
    const QList<QByteArray> requests = receivedRequests(endpoint, peer);

    if (error.isEmpty()) {
        QVERIFY(!box.shown);
        QCOMPARE(closed.count(), 1);
        QVERIFY(dialog.isHidden());
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requestOf(requests.first()).kind, Datagram::Request::Modify);
        return;
    }
    QVERIFY(box.shown);
    QCOMPARE(box.title, QStringLiteral("Error"));
    QCOMPARE(box.text, error);
    QCOMPARE(box.buttons, QStringList({ "OK" }));
    QCOMPARE(box.defaultButton, QStringLiteral("OK"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QVERIFY(dialog.isVisible());
    QCOMPARE(closed.count(), 0);
    QVERIFY(requests.isEmpty());
    QCOMPARE(field(dialog, "ipEdit")->text(), ip);
    QCOMPARE(field(dialog, "netMaskEdit")->text(), netMask);
    QCOMPARE(field(dialog, "gateWayEdit")->text(), gateWay);
}

void TestDeviceDialogs::modifyWritesOneRequest_data()
{
    QTest::addColumn<QByteArray>("reportedName");
    QTest::addColumn<QString>("mac");
    QTest::addColumn<QByteArray>("nameBytes");
    QTest::addColumn<QByteArray>("macBytes");

    const QByteArray macBytes = QByteArray::fromHex("001a2b3c4d5e");
    QTest::newRow("ascii name") << QByteArray("PLC1") << DeviceMac << QByteArray("PLC1            ")
                                << macBytes;
    QTest::newRow("chinese name") << QStringLiteral("控制器A").toUtf8() << DeviceMac
                                  << QByteArray::fromHex("e68ea7e588b6e599a841202020202020")
                                  << macBytes;
    QTest::newRow("GBK name kept byte for byte")
        << QByteArray::fromHex("b1c3d5be3100000000000000") << DeviceMac
        << QByteArray::fromHex("b1c3d5be312020202020202020202020") << macBytes;
    QTest::newRow("name of sixteen characters") << QByteArray("ABCDEFGHIJKLMNOP") << DeviceMac
                                                << QByteArray("ABCDEFGHIJKLMNOP") << macBytes;
    QTest::newRow("mac in lower case")
        << QByteArray("PLC1") << "00:1a:2b:3c:4d:5e" << QByteArray("PLC1            ") << macBytes;
}

void TestDeviceDialogs::modifyWritesOneRequest()
{
    QFETCH(QByteArray, reportedName);
    QFETCH(QString, mac);
    QFETCH(QByteArray, nameBytes);
    QFETCH(QByteArray, macBytes);

    addRow(1, deviceNameFromBytes(reportedName), mac);
    current.nameBytes = reportedName;
    SubDeviceInfo dialog(current, nullptr, endpoint);
    QSignalSpy closed(&dialog, &SubDeviceInfo::subPlcWindowClosed);
    dialog.show();
    retype(field(dialog, "ipEdit"), QStringLiteral("10.0.0.7"));
    retype(field(dialog, "netMaskEdit"), QStringLiteral("255.0.0.0"));
    retype(field(dialog, "gateWayEdit"), QStringLiteral("10.0.0.254"));
    QTest::mouseClick(button(dialog, "modifyButton"), Qt::LeftButton);

    QCOMPARE(closed.count(), 1);
    QVERIFY(dialog.isHidden());
    const QList<QByteArray> requests = receivedRequests(endpoint, peer);
    QCOMPARE(requests.size(), 1);
    const QByteArray &sent = requests.first();
    QCOMPARE(sent.size(), Datagram::ModifyRequestSize);
    Datagram::ModifyFields expected;
    expected.targetMac = *MacAddress::fromBytes(macBytes);
    expected.mac = expected.targetMac;
    expected.name = nameBytes;
    expected.settings = *DeviceSettings::fromBytes(QByteArray::fromHex("0a000007ff0000000a0000fe"));
    QCOMPARE(sent.toHex(), Datagram::modifyRequest(sequenceNoOf(sent), expected).toHex());
}

void TestDeviceDialogs::enterInAFieldPressesModify_data()
{
    QTest::addColumn<QString>("fieldName");
    QTest::newRow("ip") << "ipEdit";
    QTest::newRow("net mask") << "netMaskEdit";
    QTest::newRow("gateway") << "gateWayEdit";
    QTest::newRow("read-only name") << "deviceNameEdit";
}

void TestDeviceDialogs::enterInAFieldPressesModify()
{
    QFETCH(QString, fieldName);
    addRow(1, QStringLiteral("PLC1"), DeviceMac);
    SubDeviceInfo dialog(current, nullptr, endpoint);
    QSignalSpy closed(&dialog, &SubDeviceInfo::subPlcWindowClosed);
    dialog.show();
    typeReachableSettings(&dialog);
    QLineEdit *edit = field(dialog, qPrintable(fieldName));
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);

    QCOMPARE(closed.count(), 1);
    const QList<QByteArray> requests = receivedRequests(endpoint, peer);
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requestOf(requests.first()).kind, Datagram::Request::Modify);
}

void TestDeviceDialogs::writeGuard_data()
{
    // What is typed over the field (nothing: left as reported), and whether
    // Modify may write it.
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("as opened") << "" << "" << false;
    QTest::newRow("a new IP") << "ipEdit" << "192.0.2.20" << true;
    QTest::newRow("the same IP with leading zeros") << "ipEdit" << "127.000.000.002" << false;
    QTest::newRow("a new mask") << "netMaskEdit" << "255.255.0.0" << true;
    QTest::newRow("the gateway typed again as it was") << "gateWayEdit" << "192.168.1.1" << false;
    QTest::newRow("no address: Modify names the field") << "ipEdit" << "abc" << true;
}

void TestDeviceDialogs::writeGuard()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(bool, enabled);
    addRow(1, QStringLiteral("PLC1"), DeviceMac);
    SubDeviceInfo dialog(current, nullptr, endpoint);
    QSignalSpy closed(&dialog, &SubDeviceInfo::subPlcWindowClosed);
    dialog.show();
    if (!field.isEmpty())
        retype(dialog.findChild<QLineEdit *>(field), typed);
    QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("modifyButton"))->isEnabled(), enabled);
    if (enabled)
        return;
    // Enter, the dialog's default button disabled, restarts nothing.
    bool boxShown = false;
    QObject scope;
    whenModal<QMessageBox>(&scope, [&boxShown](QMessageBox *box) {
        boxShown = true;
        box->close();
    });
    QTest::keyClick(dialog.findChild<QLineEdit *>(QStringLiteral("ipEdit")), Qt::Key_Return);
    QVERIFY(!boxShown);
    QCOMPARE(closed.count(), 0);
    QVERIFY(dialog.isVisible());
    QVERIFY(receivedRequests(endpoint, peer).isEmpty());
}

void TestDeviceDialogs::keysStartAtTheIp_data()
{
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QStringList>("tabs"); // where each Tab goes from the IP field
    QTest::newRow("as opened: Modify is passed by")
        << false << QStringList { "netMaskEdit", "gateWayEdit", "closeButton", "ipEdit" };
    QTest::newRow("changed") << true
                             << QStringList { "netMaskEdit", "gateWayEdit", "modifyButton",
                                    "closeButton", "ipEdit" };
}

void TestDeviceDialogs::keysStartAtTheIp()
{
    QFETCH(bool, changed);
    addRow(1, QStringLiteral("PLC1"), DeviceMac);
    SubDeviceInfo dialog(current, nullptr, endpoint);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto *ip = dialog.findChild<QLineEdit *>(QStringLiteral("ipEdit"));
    QCOMPARE(QApplication::focusWidget(), ip);
    // Typing replaces the address: it is selected.
    QCOMPARE(ip->selectedText(), ip->text());
    if (changed)
        QTest::keyClicks(ip, QStringLiteral("192.0.2.20"));
    QStringList tabs;
    for (int tab = 0; tab < (changed ? 5 : 4); ++tab) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        tabs << QApplication::focusWidget()->objectName();
    }
    QTEST(tabs, "tabs");
}

void TestDeviceDialogs::ledFailureLineGoesWhenFlashingWorks()
{
    // A device on the namespace's adapter (tests/netns-run.sh), whose cable is
    // pulled while its dialog is open, then plugged in again.
    TestDevice onCable;
    onCable.ip = QStringLiteral("192.0.2.70");
    DeviceRecord device = onCable.record();
    device.interfaceIndex = QNetworkInterface::interfaceFromName(QStringLiteral("nxrun0")).index();
    QVERIFY(device.interfaceIndex > 0);
    SubDeviceInfo dialog(device, nullptr, endpoint);
    LedSession leds(endpoint, DeviceTarget::of(device, false));
    connect(&leds, &LedSession::sendFailed, &dialog, &SubDeviceInfo::showFlashFailure);
    connect(&leds, &LedSession::sendRecovered, &dialog, &SubDeviceInfo::clearFlashFailure);
    dialog.show();
    auto *line = dialog.findChild<QLabel *>(QStringLiteral("flashFailedLabel"));
    const auto setCable = [](const char *state) {
        return QProcess::execute("ip", { "link", "set", "nxrun0", state }) == 0;
    };
    QVERIFY(setCable("down"));
    const bool sent = leds.start();
    QVERIFY(setCable("up"));
    QVERIFY(!sent);
    QVERIFY(line->isVisible());
    // The next repeat gets through: the line goes.
    QTRY_VERIFY(!line->isVisible());
    QVERIFY(leds.stop());
}

void TestDeviceDialogs::closingEmitsOnceAndSendsNothing_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("close button") << int(CloseButton);
    QTest::newRow("title-bar close") << int(TitleBarClose);
    QTest::newRow("escape key") << int(EscapeKey);
}

void TestDeviceDialogs::closingEmitsOnceAndSendsNothing()
{
    QFETCH(int, way);
    addRow(1, QStringLiteral("PLC1"), DeviceMac);
    SubDeviceInfo dialog(current, nullptr, endpoint);
    QSignalSpy closed(&dialog, &SubDeviceInfo::subPlcWindowClosed);
    QObject scope;
    whenModal<SubDeviceInfo>(
        &scope, [way](SubDeviceInfo *open) { endDeviceDialog(open, CloseWay(way)); });
    dialog.exec();

    QVERIFY(dialog.isHidden());
    QCOMPARE(closed.count(), 1);
    QVERIFY(receivedRequests(endpoint, peer).isEmpty());
}

void TestDeviceDialogs::textsCarryTheirContexts()
{
    ContextTagTranslator translator;
    QCoreApplication::installTranslator(&translator);
    addRow(1, QStringLiteral("PLC1"), DeviceMac);

    ProcessDialog progress(nullptr);
    QCOMPARE(progress.windowTitle(), QStringLiteral("QObject|Scan"));
    QCOMPARE(labelTexts(progress), QStringList({ "ProcessDialog|scaning...." }));

    SubDeviceInfo dialog(current, nullptr, endpoint);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("SubDeviceInfo|PLC Info"));
    const QStringList labels = labelTexts(dialog);
    QCOMPARE(labels.first(), QStringLiteral("SubDeviceInfo|Device Name"));
    QCOMPARE(labels.last(),
        QStringLiteral("SubDeviceInfo|Tips: Modified to take effect after restarting the "
                       "device!"));
    QCOMPARE(button(dialog, "modifyButton")->text(), QStringLiteral("SubDeviceInfo|Modify"));
    QCOMPARE(button(dialog, "closeButton")->text(), QStringLiteral("SubDeviceInfo|Close"));

    dialog.show();
    QObject scope;
    ShownBox ipBox;
    answerNextBox(&scope, &ipBox);
    retype(field(dialog, "ipEdit"), QStringLiteral("1.2.3"));
    QTest::mouseClick(button(dialog, "modifyButton"), Qt::LeftButton);
    QCOMPARE(ipBox.title, QStringLiteral("QObject|Error"));
    QCOMPARE(ipBox.text, QStringLiteral("QObject|IP Address Error!"));
    QCOMPARE(ipBox.buttons, QStringList({ "QObject|OK" }));

    // The MAC field is read-only; should it ever hold no MAC, its box is the dialog's own.
    SubDeviceInfo badMac(current, nullptr, endpoint);
    badMac.show();
    typeReachableSettings(&badMac);
    field(badMac, "macEdit")->setText(QStringLiteral("001A2B3C4D"));
    ShownBox macBox;
    answerNextBox(&scope, &macBox);
    QTest::mouseClick(button(badMac, "modifyButton"), Qt::LeftButton);
    QCOMPARE(macBox.title, QStringLiteral("QObject|Error"));
    QCOMPARE(macBox.text, QStringLiteral("QObject|MAC Address Error!"));
    QCOMPARE(macBox.buttons, QStringList({ "SubDeviceInfo|OK" }));
}

void TestDeviceDialogs::progressRunsToTheEndAndCloses()
{
    ProcessDialog dialog(nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Scan"));
    QVERIFY(hasDialogFlags(&dialog));
    QCOMPARE(labelTexts(dialog), QStringList({ "scaning...." }));
    auto *bar = dialog.findChild<QProgressBar *>(QStringLiteral("progressBar"));
    QVERIFY(bar);
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 100);
    QList<int> values = { bar->value() };
    connect(bar, &QProgressBar::valueChanged, this, [&values](int value) { values << value; });
    // Only a fault ever reaches this: the dialog ends itself well before.
    QTimer::singleShot(10000, &dialog, &QDialog::close);

    dialog.exec();

    QCOMPARE(values, QList<int>({ 0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100 }));
    QCOMPARE(bar->value(), 100);
    QVERIFY(dialog.isHidden());
}

QTEST_MAIN(TestDeviceDialogs)
#include "tst_devicedialogs.moc"
