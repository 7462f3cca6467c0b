// ventsim: a virtual Ventolux instrument on a pseudo-terminal (see --help).
#include "tools/ventsim/virtual_instrument.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(g_signalPipe[1], &c, 1);
}

void printError(const QString &text)
{
    std::fprintf(stderr, "ventsim: %s\n", text.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QString error;
    bool help = false;
    const auto options = InstrumentOptions::parse(app.arguments().mid(1), &error, &help);
    if (!options) {
        printError(error);
        std::fprintf(stderr, "Try 'ventsim --help'.\n");
        return 2;
    }
    if (help) {
        std::fputs(InstrumentOptions::helpText().toLocal8Bit().constData(), stdout);
        return 0;
    }

    // Signals end the event loop through a pipe, so the clean-up runs on the main thread.
    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        printError(QStringLiteral("cannot create a pipe"));
        return 1;
    }
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        sigaction(s, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    QSocketNotifier signalNotifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);

    VirtualInstrument instrument(*options);
    if (!instrument.start(&error)) {
        printError(error);
        return 1;
    }
    QObject::connect(&instrument, &VirtualInstrument::unplugged, &app, [] {
        printError(QStringLiteral("unplugged"));
        QCoreApplication::quit();
    });

    std::printf("%s\n", instrument.portPath().toLocal8Bit().constData());
    std::fflush(stdout);
    std::fprintf(stderr,
                 "ventsim: serial %s, %d baud, %d readings, line end %s, ATM %s, fault %s%s%s\n",
                 options->serial.toLocal8Bit().constData(), int(options->baud),
                 instrument.records().readingCount(),
                 options->lineEnd == InstrumentOptions::LineEnd::CrLf ? "crlf" : "cr",
                 options->atm ? "on" : "off",
                 InstrumentOptions::faultName(options->fault).toLocal8Bit().constData(),
                 instrument.registrationFile().isEmpty() ? "" : ", registered in ",
                 instrument.registrationFile().toLocal8Bit().constData());

    app.exec();
    instrument.stop();
    return 0;
}
