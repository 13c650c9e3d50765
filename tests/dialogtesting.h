// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef DIALOGTESTING_H
#define DIALOGTESTING_H

#include "datagramcodec.h"
#include "mysocket.h"
#include "testpeer.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QtTest>

#include <functional>
#include <memory>
#include <utility>

// Acts once on the first modal widget of type T that comes up, from inside its
// own event loop. The action must end that loop whatever it finds (record, then
// assert after the loop has returned), or the test would never get control back.
// Should a modal of another type come up instead, it is closed after a while, so
// that the test fails on its checks instead of hanging.
template<typename T> void whenModal(QObject *context, std::function<void(T *)> act)
{
    constexpr int PollMs = 10;
    constexpr int UnexpectedModalPolls = 2000;
    auto *poll = new QTimer(context);
    auto unexpected = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, context, [poll, act, unexpected] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *wanted = qobject_cast<T *>(modal)) {
            poll->stop();
            poll->deleteLater();
            act(wanted);
        } else if (modal && ++*unexpected > UnexpectedModalPolls) {
            qWarning("closing an unexpected modal widget: %s", modal->metaObject()->className());
            *unexpected = 0;
            if (!modal->close())
                modal->hide();
        }
    });
    poll->start(PollMs);
}

// Whether the widget has the window flags of every dialog: a dialog frame with a
// close button and no context-help button, as Qt completes them.
inline bool hasDialogFlags(const QWidget *widget)
{
    QWidget reference;
    reference.setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    return widget->windowFlags() == reference.windowFlags()
        && !widget->windowFlags().testFlag(Qt::WindowContextHelpButtonHint);
}

// Settings a device can be written with, typed over the test device's loopback
// ones (a loopback address is refused as a device's new address).
inline void typeReachableSettings(QDialog *dialog)
{
    for (const auto &[name, text] :
        { std::pair { "ipEdit", "192.0.2.20" }, std::pair { "gateWayEdit", "192.0.2.1" } }) {
        auto *edit = dialog->findChild<QLineEdit *>(QLatin1String(name));
        edit->clear();
        QTest::keyClicks(edit, QLatin1String(text));
    }
}

// The ways a user ends a device dialog.
enum CloseWay { CloseButton, TitleBarClose, EscapeKey, SuccessfulModify };

inline void endDeviceDialog(QDialog *dialog, CloseWay way)
{
    switch (way) {
    case CloseButton:
        QTest::mouseClick(
            dialog->findChild<QPushButton *>(QStringLiteral("closeButton")), Qt::LeftButton);
        break;
    case TitleBarClose:
        // What the window system delivers when the title bar's close button is pressed.
        dialog->windowHandle()->close();
        break;
    case EscapeKey:
        QTest::keyClick(dialog->findChild<QLineEdit *>(QStringLiteral("ipEdit")), Qt::Key_Escape);
        break;
    case SuccessfulModify:
        typeReachableSettings(dialog);
        QTest::mouseClick(
            dialog->findChild<QPushButton *>(QStringLiteral("modifyButton")), Qt::LeftButton);
        break;
    }
}

// Ends whatever modal widgets a failed test left open.
inline void closeLeftoverModals()
{
    while (QWidget *modal = QApplication::activeModalWidget()) {
        if (!modal->close())
            modal->hide();
    }
}

// What a dialog run by exec() returns when its OK button did not close it.
constexpr int NotClosedByOk = 42;

inline QString labelText(const QWidget &dialog, const char *objectName)
{
    auto *label = dialog.findChild<QLabel *>(QLatin1String(objectName));
    return label ? label->text() : QStringLiteral("(no label %1)").arg(QLatin1String(objectName));
}

// Runs the dialog modally and presses its button named okButton.
inline int execPressingOk(QDialog &dialog)
{
    QTimer::singleShot(0, &dialog,
        [&dialog] { dialog.findChild<QPushButton *>(QStringLiteral("okButton"))->click(); });
    // Only a guard, so that a button that does nothing fails instead of hanging.
    QTimer::singleShot(10000, &dialog, [&dialog] { dialog.done(NotClosedByOk); });
    return dialog.exec();
}

// While it lives, closes every modal dialog that comes up, and records its title
// and the text of its button named okButton.
class ModalCloser
{
public:
    struct Shown
    {
        QString title;
        QString okText;
    };

    ModalCloser()
    {
        QObject::connect(&poll, &QTimer::timeout, &poll, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            auto *ok = modal->findChild<QPushButton *>(QStringLiteral("okButton"));
            shown.append({ modal->windowTitle(), ok ? ok->text() : QString() });
            modal->close();
        });
        poll.start(10);
    }

    QList<Shown> shown;

private:
    QTimer poll;
};

// Every datagram the device has received so far, in order. A marker request sent
// now arrives after all requests sent before it, so its arrival means they are
// in; a marker that never arrives fails the test, since an empty list would then
// prove nothing.
inline QList<QByteArray> receivedRequests(MySocket *endpoint, TestPeer *peer)
{
    const MacAddress markerMac = *MacAddress::fromBytes(QByteArray(Datagram::MacSize, '\xff'));
    const int before = peer->unicasts.size();
    const bool sent
        = endpoint->udpSendCmdLedsStop({ markerMac, *Ipv4Address::fromText(TestPeer::DeviceIp) });
    if (!sent || !QTest::qWaitFor([&] { return peer->unicasts.size() > before; }, 5000)) {
        QTest::qFail(
            "the marker request never arrived: the requests are unknown", __FILE__, __LINE__);
        return { QByteArrayLiteral("(marker missing)") };
    }
    QList<QByteArray> requests;
    for (const QByteArray &datagram : qAsConst(peer->unicasts)) {
        const std::optional<Datagram::Request> request = Datagram::parseRequest(datagram);
        if (!request || request->targetMac != markerMac)
            requests << datagram;
    }
    peer->unicasts.clear();
    return requests;
}

// What a received datagram asks of the device; a scan for anything unreadable.
inline Datagram::Request requestOf(const QByteArray &datagram)
{
    return Datagram::parseRequest(datagram).value_or(Datagram::Request());
}

#endif // DIALOGTESTING_H
