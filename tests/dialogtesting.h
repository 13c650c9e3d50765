#ifndef DIALOGTESTING_H
#define DIALOGTESTING_H

#include "datagramcodec.h"
#include "mysocket.h"
#include "testpeer.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QList>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QtTest>

#include <functional>

// Acts once on the first modal widget of type T that comes up, from inside its
// own event loop. The action must end that loop whatever it finds (record, then
// assert after the loop has returned), or the test would never get control back.
template<typename T> void whenModal(QObject *context, std::function<void(T *)> act)
{
    auto *poll = new QTimer(context);
    QObject::connect(poll, &QTimer::timeout, context, [poll, act] {
        if (auto *modal = qobject_cast<T *>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(modal);
        }
    });
    poll->start(10);
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

// Every datagram the device has received so far, in order. A marker request sent
// now arrives after all requests sent before it, so its arrival means they are in.
inline QList<QByteArray> receivedRequests(MySocket *endpoint, TestPeer *peer)
{
    const QByteArray markerMac = QByteArray(Datagram::MacSize, '\xff');
    const int before = peer->unicasts.size();
    endpoint->udpSendCmdLedsStop(QString::fromLatin1(markerMac.toHex(':')));
    if (!QTest::qWaitFor([&] { return peer->unicasts.size() > before; }, 5000))
        qWarning("the marker request never arrived: the list may be incomplete");
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
