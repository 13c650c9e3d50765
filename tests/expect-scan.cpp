// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "datagramcodec.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QProcess>
#include <QTest>
#include <QUdpSocket>

#include <cstdio>

// Starts the program named on the command line, waits for its scan request on the
// limited broadcast and ends the program. Exits with 0 when the request came
// while the program ran, holds the bytes the codec makes and came from port 102,
// which shows that the program could bind that port. Run it only inside a private
// network namespace (tests/netns-run.sh).
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: expect-scan PROGRAM [ARGUMENT...]\n");
        return 2;
    }

    QUdpSocket listener;
    if (!listener.bind(QHostAddress::Broadcast, Datagram::DevicePort,
            QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint)) {
        std::fprintf(stderr, "expect-scan: %s\n", qPrintable(listener.errorString()));
        return 1;
    }

    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(arguments.at(1), arguments.mid(2));
    // A guard against a hang, not a measurement: a start takes well under a second.
    const bool settled = QTest::qWaitFor(
        [&] { return listener.hasPendingDatagrams() || program.state() == QProcess::NotRunning; },
        60000);
    const bool stillRunning = program.state() == QProcess::Running;
    program.kill();
    program.waitForFinished();

    if (!settled) {
        std::fprintf(stderr, "expect-scan: the program sent nothing within a minute\n");
        return 1;
    }
    if (!stillRunning) {
        std::fprintf(stderr, "expect-scan: the program did not start or ended early: %s\n",
            qPrintable(program.errorString()));
        return 1;
    }
    const QNetworkDatagram first = listener.receiveDatagram();
    if (first.data() != Datagram::scanRequest(0)) {
        std::fprintf(stderr, "expect-scan: the first datagram is not the scan request: %s\n",
            first.data().toHex(' ').constData());
        return 1;
    }
    if (first.senderPort() != Datagram::DevicePort) {
        std::fprintf(stderr, "expect-scan: the scan request came from port %d, not 102\n",
            first.senderPort());
        return 1;
    }
    std::printf("expect-scan: scan request received from port 102\n");
    return 0;
}
