// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicesimulator.h"
#include "fleet.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <functional>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

const char Description[] = R"text(Plays a fleet of Nesdrix devices on UDP port 102.

It answers every scan request with one scan reply per device, sent to the
requester's address, port 102, from the device's own IP where that address is
local on the simulator's side, as a real device does. A device flashes its LEDs
while LED flash requests for its MAC keep coming (it stops on an LED stop
request, or when none came for 1500 ms). A modify request for a device's MAC changes its MAC, IP
address, net mask and gateway after a simulated restart; during the restart the
device answers nothing. Requests for a MAC no device has are ignored.

Everything the fleet sees is logged on standard output, one plain line each:
"ready: ..." once the port is bound, then "arrived on INTERFACE at ADDRESS
from SENDER: REQUEST" for every request, scan requests, "sent N replies ...",
"LED flashing on: MAC IP NAME", "LED flashing off: MAC IP NAME (reason)",
"modify request for ...", "restarted: MAC IP NAME" and ignored requests.

A plant network's faults can be played too: --loss drops datagrams (each on its
own, requests on the way to each device and replies on the way back, drawn from
--seed so that a run can be repeated), --echo delivers every reply twice, and
--miss-scans leaves the first scan requests unanswered.

Run it only inside a private network namespace: it answers whoever scans the
network it is on. tests/netns-fleet.sh sets one up and runs a command against it:
  tests/netns-fleet.sh --simulator nesdrix-devsim [ARGS...] -- COMMAND [ARGS...]

)text";

bool nonNegativeNumber(const QCommandLineParser &parser, const QString &option, int *value)
{
    bool ok = false;
    *value = parser.value(option).toInt(&ok);
    return ok && *value >= 0;
}

#ifdef Q_OS_UNIX
int hangUpPipe[2] = { -1, -1 };

extern "C" void writeHangUpByte(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(hangUpPipe[1], &byte, 1);
    errno = savedErrno;
}

// Calls playNext in the event loop for every SIGHUP, so that a test can change
// the fleet while a program watches it.
bool onHangUp(QObject *parent, const std::function<void()> &playNext)
{
    if (::pipe2(hangUpPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    auto *notifier = new QSocketNotifier(hangUpPipe[0], QSocketNotifier::Read, parent);
    QObject::connect(notifier, &QSocketNotifier::activated, parent, [playNext] {
        char bytes[16];
        ssize_t count = 0;
        while ((count = ::read(hangUpPipe[0], bytes, sizeof bytes)) > 0) {
            for (ssize_t i = 0; i < count; ++i)
                playNext();
        }
    });
    struct sigaction action = {};
    action.sa_handler = writeHangUpByte;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGHUP, &action, nullptr) == 0;
}
#else
bool onHangUp(QObject *, const std::function<void()> &)
{
    return false;
}
#endif

int fail(const QString &message)
{
    std::fprintf(stderr, "nesdrix-devsim: %s\n", message.toUtf8().constData());
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("nesdrix-devsim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QString::fromUtf8(Description) + QString::fromUtf8(FleetFileHelp));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("fleet-file"),
        QStringLiteral("Devices to play, one a line (see above)."), QStringLiteral("[fleet-file]"));
    parser.addOptions({
        { QStringLiteral("next-fleet"),
            QStringLiteral("On SIGHUP, play the devices of <file> instead (a fleet file as "
                           "above). Given again, each SIGHUP plays the next file in turn."),
            QStringLiteral("file") },
        { QStringLiteral("count"),
            QStringLiteral("Also play <n> generated devices (unique MACs 02:00:00:..., "
                           "IPs 192.0.2.64-127 in turn). A scan gets all their replies back "
                           "to back, as fast as the socket takes them."),
            QStringLiteral("n"), QStringLiteral("0") },
        { QStringLiteral("max-delay-ms"),
            QStringLiteral("Delay each reply by a random time of up to <ms>."),
            QStringLiteral("ms"), QStringLiteral("0") },
        { QStringLiteral("restart-after-ms"),
            QStringLiteral("Take new settings <ms> after a modify request (default: at once)."),
            QStringLiteral("ms"), QStringLiteral("0") },
        { QStringLiteral("bad"),
            QStringLiteral("After the replies of every scan, also send malformed replies that "
                           "the program must drop (too short, wrong magic, wrong frame length, "
                           "95 bytes, item count 4 and 6, name of 5 and 17 bytes, MAC of 7 "
                           "bytes, network of 11 bytes), all from MAC 02:BA:D0:00:00:00.") },
        { QStringLiteral("loss"),
            QStringLiteral("Lose <percent> of the datagrams, 0-100: each request on its way to "
                           "each device, and each reply on its way back, on its own."),
            QStringLiteral("percent"), QStringLiteral("0") },
        { QStringLiteral("seed"),
            QStringLiteral("Draw the losses from seed <n>: the same seed loses the same "
                           "datagrams of the same run (default 1)."),
            QStringLiteral("n"), QStringLiteral("1") },
        { QStringLiteral("echo"), QStringLiteral("Send every reply twice.") },
        { QStringLiteral("miss-scans"),
            QStringLiteral("Leave the first <n> scan requests unanswered."), QStringLiteral("n"),
            QStringLiteral("0") },
    });
    parser.process(app);

    SimulatorOptions options;
    options.sendMalformed = parser.isSet(QStringLiteral("bad"));
    options.echo = parser.isSet(QStringLiteral("echo"));
    int count = 0;
    int seed = 0;
    if (!nonNegativeNumber(parser, QStringLiteral("count"), &count)
        || !nonNegativeNumber(parser, QStringLiteral("max-delay-ms"), &options.maxDelayMs)
        || !nonNegativeNumber(parser, QStringLiteral("restart-after-ms"), &options.restartAfterMs)
        || !nonNegativeNumber(parser, QStringLiteral("miss-scans"), &options.missedScans)
        || !nonNegativeNumber(parser, QStringLiteral("seed"), &seed))
        return fail(QStringLiteral("--count, --max-delay-ms, --restart-after-ms, --miss-scans "
                                   "and --seed take a number of 0 or more"));
    options.seed = quint32(seed);
    bool lossOk = false;
    options.lossPercent = parser.value(QStringLiteral("loss")).toDouble(&lossOk);
    if (!lossOk || options.lossPercent < 0 || options.lossPercent > 100)
        return fail(QStringLiteral("--loss takes a percentage from 0 to 100"));

    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return fail(QStringLiteral("one fleet file at most"));
    Fleet fleet;
    QString error;
    if (!files.isEmpty() && !loadFleetFile(files.first(), &fleet, &error))
        return fail(error);
    fleet += generatedFleet(count);
    if (fleet.isEmpty())
        return fail(QStringLiteral("no devices: give a fleet file or --count (see --help)"));

    QVector<Fleet> nextFleets;
    const QStringList nextFiles = parser.values(QStringLiteral("next-fleet"));
    for (const QString &file : nextFiles) {
        Fleet next;
        if (!loadFleetFile(file, &next, &error))
            return fail(error);
        nextFleets.append(next);
    }

    DeviceSimulator simulator(fleet, options);
    if (!simulator.bind(&error))
        return fail(QStringLiteral("cannot bind UDP port 102: %1").arg(error));
    int played = 0;
    const auto playNext = [&] {
        if (played == nextFleets.size()) {
            std::printf("SIGHUP: no next fleet, the devices stay\n");
        } else {
            simulator.playFleet(nextFleets.at(played));
            std::printf("fleet changed: %d devices from %s\n", int(nextFleets.at(played).size()),
                qPrintable(nextFiles.at(played)));
            ++played;
        }
        std::fflush(stdout);
    };
    if (!nextFleets.isEmpty() && !onHangUp(&simulator, playNext))
        return fail(QStringLiteral("--next-fleet needs SIGHUP, which could not be taken"));
    std::printf("ready: %d devices on UDP port 102\n", int(fleet.size()));
    std::fflush(stdout);
    return app.exec();
}
