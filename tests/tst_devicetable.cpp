// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "datagramcodec.h"
#include "devicelistmodel.h"
#include "dialogtesting.h"
#include "ledsession.h"
#include "mainwindow.h"
#include "mysocket.h"
#include "processdialog.h"
#include "subdeviceinfo.h"
#include "tablemarks.h"
#include "testpeer.h"

#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QtTest>

namespace {

// The device that answers on the test peer's address, and a second one whose
// address nobody listens on.
const QByteArray PeerMac = QByteArray::fromHex("001a2b3c4d5e");
const QByteArray OtherMac = QByteArray::fromHex("00aabbccddee");
const QByteArray PeerNetwork = QByteArray::fromHex("7f000002ffffff007f000001");
const QByteArray OtherNetwork = QByteArray::fromHex("7f000003ffffff007f000001");

// The number of openings the release test makes. A thousand pass as well, in
// about ten seconds more in either build, and show nothing that these do not.
constexpr int OpenCloseRounds = 200;

QByteArray replyFrom(const QByteArray &mac, const QByteArray &network, const QByteArray &name)
{
    Datagram::ScanReply reply;
    reply.deviceType = 1;
    reply.mac = mac;
    reply.name = name.leftJustified(Datagram::NameFieldSize, '\0');
    reply.version = QByteArray::fromHex("0102000a");
    reply.network = network;
    return Datagram::scanReplyDatagram(reply);
}

QList<Datagram::Request::Kind> kindsOf(const QList<QByteArray> &requests)
{
    QList<Datagram::Request::Kind> kinds;
    for (const QByteArray &datagram : requests)
        kinds << requestOf(datagram).kind;
    return kinds;
}

QList<QByteArray> targetMacsOf(const QList<QByteArray> &requests)
{
    QList<QByteArray> macs;
    for (const QByteArray &datagram : requests)
        macs << requestOf(datagram).targetMac.toBytes();
    return macs;
}

// The fields of each line of a CSV text, quotes undone.
QList<QStringList> csvRecords(const QString &text)
{
    QList<QStringList> records;
    QStringList fields;
    QString field;
    bool quoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted && c == '"' && i + 1 < text.size() && text.at(i + 1) == '"')
            field += text.at(++i);
        else if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == ',')
            fields << std::exchange(field, QString());
        else if (!quoted && c == '\n')
            records << (std::exchange(fields, QStringList()) << std::exchange(field, QString()));
        else
            field += c;
    }
    return records;
}

enum TableState { EmptyTable, SelectionCleared, NoCurrentRow };

template<typename T> T *child(QObject *parent, const char *name)
{
    return parent->findChild<T *>(QLatin1String(name));
}

} // namespace

class TestDeviceTable : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void noSelectionShowsNoDevices_data();
    void noSelectionShowsNoDevices();
    void openedDeviceFlashesUntilClosed();
    void everyCloseStopsTheFlashingOnce_data();
    void everyCloseStopsTheFlashingOnce();
    void openedDeviceStaysTheTarget();
    void sharedAddressIsReachedByBroadcast();
    void chosenRowStaysChosen_data();
    void chosenRowStaysChosen();
    void chineseNameSurvivesModify();
    void exportedListReadsBack_data();
    void exportedListReadsBack();
    void closedDialogsAreReleased();
    void refreshPausesThenScans_data();
    void refreshPausesThenScans();
    void rowMenuFlashesUntilTheNext();

private:
    // Lists a device through a real reply and waits for its row.
    void listDevice(
        const QByteArray &mac, const QByteArray &network, const QByteArray &name = "PLC1");
    QList<QByteArray> requests() { return receivedRequests(endpoint, peer); }
    // The bytes of the MAC the row shows.
    QByteArray shownMac(int row) const
    {
        return MacAddress::fromText(cellText(table->model(), row, MacAddressColumn))
            .value_or(MacAddress())
            .toBytes();
    }

    TestPeer *peer = nullptr;
    MySocket *endpoint = nullptr;
    MainWindow *window = nullptr;
    QTableView *table = nullptr;
};

void TestDeviceTable::init()
{
    peer = new TestPeer(this);
    QString error;
    QVERIFY2(peer->bind(&error), qPrintable(error));
    endpoint = new MySocket;
    QVERIFY2(endpoint->initUdpSocket(), qPrintable(endpoint->bindErrorString()));
    window = new MainWindow(endpoint);
    window->show();
    table = child<QTableView>(window, "tableWidget");
    QTRY_COMPARE(peer->broadcasts.size(), 1);
}

void TestDeviceTable::cleanup()
{
    closeLeftoverModals();
    delete window;
    delete endpoint;
    delete peer;
}

void TestDeviceTable::listDevice(
    const QByteArray &mac, const QByteArray &network, const QByteArray &name)
{
    const int rows = table->model()->rowCount();
    peer->sendToProgram(replyFrom(mac, network, name));
    QTRY_COMPARE(table->model()->rowCount(), rows + 1);
    // Until the user picks a row, the top row is selected when the listing pass ends.
    QTRY_COMPARE(table->currentIndex().row(), 0);
}

void TestDeviceTable::noSelectionShowsNoDevices_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("message");
    const QString selectFirst = QStringLiteral(
        "Select a device in the list first (the filter may hide the one you want).");
    QTest::newRow("empty table") << int(EmptyTable) << "No Devices!";
    QTest::newRow("selection cleared") << int(SelectionCleared) << selectFirst;
    QTest::newRow("selection without a current row") << int(NoCurrentRow) << selectFirst;
}

void TestDeviceTable::noSelectionShowsNoDevices()
{
    QFETCH(int, state);
    if (state != EmptyTable)
        listDevice(PeerMac, PeerNetwork);
    if (state == SelectionCleared)
        table->clearSelection();
    if (state == NoCurrentRow) {
        table->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        QVERIFY(table->selectionModel()->hasSelection());
    }
    QString title, text;
    QStringList buttons;
    bool defaultIsOk = false;
    bool deviceOpened = false;
    QObject scope;
    whenModal<QMessageBox>(&scope, [&](QMessageBox *box) {
        title = box->windowTitle();
        text = box->text();
        for (QAbstractButton *button : box->buttons())
            buttons << button->text();
        defaultIsOk = box->defaultButton() == box->buttons().first();
        box->buttons().first()->click();
    });
    whenModal<SubDeviceInfo>(&scope, [&](SubDeviceInfo *dialog) {
        deviceOpened = true;
        dialog->close();
    });
    QTest::mouseClick(child<QPushButton>(window, "detailButton"), Qt::LeftButton);

    QCOMPARE(title, QStringLiteral("error!"));
    QTEST(text, "message");
    QCOMPARE(buttons, QStringList({ "OK" }));
    QVERIFY(defaultIsOk);
    QVERIFY(!deviceOpened);
    QVERIFY(requests().isEmpty());
}

void TestDeviceTable::openedDeviceFlashesUntilClosed()
{
    listDevice(PeerMac, PeerNetwork);
    const QRect cell = table->visualRect(table->model()->index(0, IpAddressColumn));
    bool fiveFlashes = false;
    QObject scope;
    whenModal<SubDeviceInfo>(&scope, [&](SubDeviceInfo *dialog) {
        // The one at once and four repeats: about two seconds of an open dialog.
        fiveFlashes = QTest::qWaitFor([&] { return peer->unicasts.size() >= 5; }, 10000);
        QTest::mouseClick(child<QPushButton>(dialog, "closeButton"), Qt::LeftButton);
    });
    // What a real double-click delivers: a click, then the double-click event.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());

    QVERIFY(fiveFlashes);
    // Everything the device at the row's address received: flashes, then one stop.
    const QList<QByteArray> sent = requests();
    const QList<Datagram::Request::Kind> kinds = kindsOf(sent);
    QVERIFY2(kinds.size() >= 6, qPrintable(QString::number(kinds.size())));
    QCOMPARE(kinds.count(Datagram::Request::LedsFlash), kinds.size() - 1);
    QCOMPARE(kinds.last(), Datagram::Request::LedsStop);
    QCOMPARE(targetMacsOf(sent), QVector<QByteArray>(sent.size(), PeerMac).toList());
    // The first flash is the request that came right after the start-up scan.
    QCOMPARE(sequenceNoOf(sent.first()), 1u);
    // Closed means quiet: no flash follows the stop.
    QTest::qWait(2 * LedSession::RepeatMs);
    QVERIFY(requests().isEmpty());
}

void TestDeviceTable::everyCloseStopsTheFlashingOnce_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("close button") << int(CloseButton);
    QTest::newRow("title-bar close") << int(TitleBarClose);
    QTest::newRow("escape key") << int(EscapeKey);
    QTest::newRow("successful modify") << int(SuccessfulModify);
}

void TestDeviceTable::everyCloseStopsTheFlashingOnce()
{
    QFETCH(int, way);
    listDevice(PeerMac, PeerNetwork);
    QObject scope;
    whenModal<SubDeviceInfo>(
        &scope, [way](SubDeviceInfo *dialog) { endDeviceDialog(dialog, CloseWay(way)); });
    QTest::mouseClick(child<QPushButton>(window, "detailButton"), Qt::LeftButton);

    const QList<Datagram::Request::Kind> kinds = kindsOf(requests());
    QCOMPARE(kinds.count(Datagram::Request::LedsStop), 1);
    QCOMPARE(kinds.last(), Datagram::Request::LedsStop);
    QCOMPARE(kinds.count(Datagram::Request::Modify), way == SuccessfulModify ? 1 : 0);
}

void TestDeviceTable::openedDeviceStaysTheTarget()
{
    listDevice(PeerMac, PeerNetwork);
    bool otherListed = false;
    bool tickedAfterIt = false;
    QString shownIp;
    QObject scope;
    whenModal<SubDeviceInfo>(&scope, [&](SubDeviceInfo *dialog) {
        // Another device answers while this one is open.
        peer->sendToProgram(replyFrom(OtherMac, OtherNetwork, "other"));
        otherListed = QTest::qWaitFor([&] { return table->model()->rowCount() == 2; }, 5000);
        const int flashes = peer->unicasts.size();
        tickedAfterIt = QTest::qWaitFor([&] { return peer->unicasts.size() > flashes + 1; }, 5000);
        shownIp = child<QLineEdit>(dialog, "ipEdit")->text();
        typeReachableSettings(dialog);
        QTest::mouseClick(child<QPushButton>(dialog, "modifyButton"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>(window, "detailButton"), Qt::LeftButton);

    QVERIFY(otherListed);
    QVERIFY(tickedAfterIt);
    QCOMPARE(shownIp, QStringLiteral("127.0.0.2"));
    // Every request reached the opened device's address and names its MAC.
    const QList<QByteArray> sent = requests();
    QCOMPARE(targetMacsOf(sent), QVector<QByteArray>(sent.size(), PeerMac).toList());
    const QList<Datagram::Request::Kind> kinds = kindsOf(sent);
    QCOMPARE(kinds.count(Datagram::Request::Modify), 1);
    QCOMPARE(kinds.count(Datagram::Request::LedsStop), 1);
    const Datagram::Request modify = requestOf(sent.at(kinds.indexOf(Datagram::Request::Modify)));
    QCOMPARE(modify.modify.mac.toBytes(), PeerMac);
    QCOMPARE(modify.modify.settings.toBytes().toHex(), QByteArray("c0000214ffffff00c0000201"));
}

void TestDeviceTable::sharedAddressIsReachedByBroadcast()
{
    // Two devices at one address: a unicast would reach one of them only.
    listDevice(PeerMac, PeerNetwork);
    listDevice(OtherMac, PeerNetwork);
    const QByteArray opened = shownMac(table->currentIndex().row());
    peer->broadcasts.clear();
    QObject scope;
    whenModal<SubDeviceInfo>(
        &scope, [](SubDeviceInfo *dialog) { endDeviceDialog(dialog, SuccessfulModify); });
    QTest::mouseClick(child<QPushButton>(window, "detailButton"), Qt::LeftButton);

    QTRY_COMPARE(kindsOf(peer->broadcasts).count(Datagram::Request::LedsStop), 1);
    const QList<Datagram::Request::Kind> kinds = kindsOf(peer->broadcasts);
    QCOMPARE(kinds.first(), Datagram::Request::LedsFlash);
    QCOMPARE(kinds.count(Datagram::Request::Modify), 1);
    QCOMPARE(targetMacsOf(peer->broadcasts),
        QVector<QByteArray>(peer->broadcasts.size(), opened).toList());
    QVERIFY(requests().isEmpty());
}

void TestDeviceTable::chosenRowStaysChosen_data()
{
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("mouse") << false;
    QTest::newRow("keyboard") << true;
}

void TestDeviceTable::chosenRowStaysChosen()
{
    QFETCH(bool, byKeyboard);
    listDevice(OtherMac, OtherNetwork);
    listDevice(PeerMac, PeerNetwork);
    if (byKeyboard) {
        table->setFocus();
        QTest::keyClick(table, Qt::Key_Down);
    } else {
        const QRect cell = table->visualRect(table->model()->index(1, IpAddressColumn));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    }
    QCOMPARE(table->currentIndex().row(), 1);
    // A reply listed after the choice neither moves nor widens it.
    peer->sendToProgram(replyFrom(QByteArray::fromHex("00aabbccddff"), OtherNetwork, "late"));
    QTRY_COMPARE(table->model()->rowCount(), 3);
    QCoreApplication::processEvents();
    QCOMPARE(table->currentIndex().row(), 1);
    QCOMPARE(table->selectionModel()->selectedRows().size(), 1);

    QString shownIp;
    QObject scope;
    whenModal<SubDeviceInfo>(&scope, [&](SubDeviceInfo *dialog) {
        shownIp = child<QLineEdit>(dialog, "ipEdit")->text();
        dialog->close();
    });
    QTest::mouseClick(child<QPushButton>(window, "detailButton"), Qt::LeftButton);
    QCOMPARE(shownIp, QStringLiteral("127.0.0.2"));
    QCOMPARE(targetMacsOf(requests()).first(), PeerMac);
}

void TestDeviceTable::chineseNameSurvivesModify()
{
    const QString name = QStringLiteral("控制器一号");
    listDevice(PeerMac, PeerNetwork, name.toUtf8());
    QCOMPARE(cellText(table->model(), 0, DeviceNameColumn), name);
    QObject scope;
    whenModal<SubDeviceInfo>(&scope, [](SubDeviceInfo *dialog) {
        typeReachableSettings(dialog);
        QTest::mouseClick(child<QPushButton>(dialog, "modifyButton"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>(window, "detailButton"), Qt::LeftButton);

    QList<QByteArray> names;
    for (const QByteArray &datagram : requests()) {
        const Datagram::Request request = requestOf(datagram);
        if (request.kind == Datagram::Request::Modify)
            names << request.modify.name;
    }
    QCOMPARE(names, QList<QByteArray>({ name.toUtf8() + ' ' }));
    QCOMPARE(QString::fromUtf8(names.first()).trimmed(), name);
}

void TestDeviceTable::exportedListReadsBack_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("saved");
    QTest::newRow("saved") << "" << true;
    QTest::newRow("missing folder") << "missing/" << false;
}

void TestDeviceTable::exportedListReadsBack()
{
    QFETCH(QString, folder);
    QFETCH(bool, saved);
    const QString name = QStringLiteral("Axis \"Y\", 包装");
    listDevice(PeerMac, PeerNetwork);
    listDevice(OtherMac, OtherNetwork);
    listDevice(PeerMac, OtherNetwork, name.toUtf8());
    // Shown: by MAC, the first reply filtered out.
    emit table->horizontalHeader()->sectionClicked(MacAddressColumn);
    child<QLineEdit>(window, "filterEdit")->setText(QStringLiteral("0.0.3"));

    QTemporaryDir dir;
    const QString path = dir.filePath(folder + QStringLiteral("list.csv"));
    QString error;
    QObject scope;
    whenModal<QMessageBox>(&scope, [&](QMessageBox *box) {
        error = box->text();
        box->close();
    });
    window->exportList(path);

    QFile file(path);
    QCOMPARE(file.open(QIODevice::ReadOnly), saved);
    if (!saved) {
        QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
        return;
    }
    const QList<QStringList> records = csvRecords(QString::fromUtf8(file.readAll()));
    QCOMPARE(records.size(), 3);
    QCOMPARE(records.at(0).mid(0, 4), QStringList({ "type", "name", "ip", "mac" }));
    QCOMPARE(records.at(1).mid(1, 3), QStringList({ name, "127.0.0.3", "00:1A:2B:3C:4D:5E" }));
    QCOMPARE(records.at(0).mid(8), QStringList({ "duplicate", "adapter" }));
    QCOMPARE(records.at(1).mid(8), QStringList({ "MAC+IP", "lo" }));
    QCOMPARE(records.at(2).mid(1, 3), QStringList({ "PLC1", "127.0.0.3", "00:AA:BB:CC:DD:EE" }));
    QCOMPARE(records.at(2).at(8), QStringLiteral("IP"));
}

void TestDeviceTable::closedDialogsAreReleased()
{
    listDevice(PeerMac, PeerNetwork);
    auto *detailButton = child<QPushButton>(window, "detailButton");
    // Each dialog and the LED session of its device, as they were open.
    QList<QPointer<QObject>> opened;
    for (int round = 0; round < OpenCloseRounds; ++round) {
        QObject scope;
        whenModal<SubDeviceInfo>(&scope, [&opened](SubDeviceInfo *dialog) {
            opened << dialog;
            if (auto *leds = dialog->findChild<LedSession *>())
                opened << leds;
            dialog->close();
        });
        detailButton->click();
    }
    QCOMPARE(opened.size(), 2 * OpenCloseRounds);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTRY_VERIFY(std::all_of(opened.cbegin(), opened.cend(),
        [](const QPointer<QObject> &object) { return object.isNull(); }));
    const QList<Datagram::Request::Kind> kinds = kindsOf(requests());
    QCOMPARE(kinds.count(Datagram::Request::LedsStop), OpenCloseRounds);
}

void TestDeviceTable::refreshPausesThenScans_data()
{
    QTest::addColumn<bool>("closedEarly");
    QTest::newRow("runs to the end") << false;
    QTest::newRow("closed early") << true;
}

void TestDeviceTable::refreshPausesThenScans()
{
    QFETCH(bool, closedEarly);
    listDevice(PeerMac, PeerNetwork);
    listDevice(OtherMac, OtherNetwork);
    int rowsAtStart = -1;
    int scansAtStart = -1;
    bool lateReplyListed = false;
    int scansWhileOpen = -1;
    QList<int> values;
    QObject scope;
    whenModal<ProcessDialog>(&scope, [&](ProcessDialog *dialog) {
        rowsAtStart = table->model()->rowCount();
        scansAtStart = peer->broadcasts.size();
        auto *bar = child<QProgressBar>(dialog, "progressBar");
        values << bar->value();
        connect(
            bar, &QProgressBar::valueChanged, &scope, [&values](int value) { values << value; });
        // An answer to an earlier scan, arriving during the pause.
        peer->sendToProgram(replyFrom(PeerMac, PeerNetwork, "late"));
        lateReplyListed = QTest::qWaitFor([&] { return table->model()->rowCount() == 1; }, 5000);
        scansWhileOpen = peer->broadcasts.size();
        if (closedEarly)
            QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QTest::mouseClick(child<QPushButton>(window, "refreshButton"), Qt::LeftButton);

    QCOMPARE(rowsAtStart, 0);
    QCOMPARE(scansAtStart, 1);
    QVERIFY(lateReplyListed);
    QCOMPARE(scansWhileOpen, 1);
    QCOMPARE(table->model()->rowCount(), 0);
    QTRY_COMPARE(peer->broadcasts.size(), 2);
    QCOMPARE(requestOf(peer->broadcasts.last()).kind, Datagram::Request::Scan);
    QVERIFY(!window->findChild<ProcessDialog *>());
    QVERIFY(!values.isEmpty());
    QCOMPARE(values.first(), 0);
    QVERIFY(*std::max_element(values.begin(), values.end()) <= 100);
    if (!closedEarly)
        QCOMPARE(values, QList<int>({ 0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100 }));
}

void TestDeviceTable::rowMenuFlashesUntilTheNext()
{
    listDevice(PeerMac, PeerNetwork);
    listDevice(OtherMac, OtherNetwork);
    auto *flash = child<QAction>(window, "flashAction");
    QVERIFY(child<QMenu>(window, "rowMenu")->actions().contains(flash));
    flash->trigger();
    QTRY_VERIFY(window->statusBar()->currentMessage().startsWith(
        QStringLiteral("Flashing the LEDs of PLC1 (00:1A:2B:3C:4D:5E) for 10 s")));
    // The repeats go on without a dialog: two requests take about half a second.
    QTRY_VERIFY(peer->unicasts.size() >= 2);
    // Flashing another device ends the first one's with its stop request.
    table->selectRow(1);
    flash->trigger();
    const QList<QByteArray> sent = requests();
    const QList<Datagram::Request::Kind> kinds = kindsOf(sent);
    QCOMPARE(kinds.count(Datagram::Request::LedsStop), 1);
    QCOMPARE(targetMacsOf(sent).at(kinds.indexOf(Datagram::Request::LedsStop)), PeerMac);
    // The window closed, a flash still running stops too.
    table->selectRow(0);
    flash->trigger();
    delete window;
    window = nullptr;
    QCOMPARE(kindsOf(requests()).count(Datagram::Request::LedsStop), 1);
}

QTEST_MAIN(TestDeviceTable)
#include "tst_devicetable.moc"
