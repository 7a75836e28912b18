// standinroot: lays out a stand-in board below a directory. With --serve it also
// plays the board's serial ports: it creates the pseudo-terminals dev/ttyO0..3,
// keeps them open and copies whatever the console writes to each port into
// var/log/ttyO<N>.log, and loops the section, master and fill outputs back to
// their feedback inputs, plays a sprayer at work (standin_sprayer.h) and the
// Sectrix section controller on CAN channel 0 (standin_sectrix.h), both driven
// by lines on standard input, until it is stopped (SIGINT or SIGTERM); while it
// serves, run/board.ready exists. A console
// that has not yet run on the board finds the installer's configuration for
// that sprayer (standin_sprayerconfig.h).
#include "standin_fpgaio.h"
#include "standin_root.h"
#include "standin_sectrix.h"
#include "standin_serial.h"
#include "standin_sprayer.h"
#include "standin_sprayerconfig.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <unistd.h>

namespace {

volatile sig_atomic_t stopRequested = 0;

void requestStop(int)
{
    stopRequested = 1;
}

int usage(int status)
{
    std::fprintf(status == 0 ? stdout : stderr,
                 "usage: standinroot [--serve [--speed-cal N] [--flow-cal N]] <directory>\n"
                 "Lays out a stand-in system root for CONSOLE_SYSROOT.\n"
                 "--serve  also create the serial ports dev/ttyO0..3 and keep them until stopped,\n"
                 "         logging what the console sends on each to var/log/ttyO<N>.log,\n"
                 "         loop the section and valve outputs back to their feedback inputs,\n"
                 "         play a sprayer at work and the Sectrix section controller on can0;\n"
                 "         lines on standard input drive them:\n"
                 "         speed <km/h>, stop, go, master on|off, section <n> on|off, refill, status,\n"
                 "         sectrix on|off (answering on the bus or silent), sectrix auto|manual,\n"
                 "         sectrix allow <hex> (status word, bit i-1 allows section i), sectrix status;\n"
                 "         a console that has not run yet finds the sprayer's configuration\n"
                 "--speed-cal N  wheel pulses per 100 m (default 1000)\n"
                 "--flow-cal N   flow-meter pulses per litre (default 650)\n");
    return status;
}

int serve(const std::string& root, const SprayerSetup& setup)
{
    StandinSerial serial;
    if (!serial.create(root)) {
        std::fprintf(stderr, "standinroot: could not create the serial ports below %s\n", root.c_str());
        return 1;
    }
    if (!sprayerWriteConfig(root, setup))
        std::fprintf(stderr, "standinroot: could not write the installer's configuration %s\n",
                     sprayerConfigPath(root).c_str());
    StandinFpga boom(root);
    StandinSprayer sprayer(root, boom, setup);
    sprayer.start();
    // Present from the start, in manual mode with every section allowed, the
    // unit leaves the sprayer's sections as the console sets them until driven.
    StandinSectrix sectrix(root);
    if (!sectrix.start())
        std::fprintf(stderr, "standinroot: no Sectrix unit: could not open the CAN bus below %s\n", root.c_str());
    int logs[StandinSerial::kPorts];
    struct pollfd ports[StandinSerial::kPorts + 1];
    for (int port = 0; port < StandinSerial::kPorts; ++port) {
        const std::string log = root + "/var/log/ttyO" + std::to_string(port) + ".log";
        logs[port] = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        ports[port] = {serial.master(port), POLLIN, 0};
        std::printf("ttyO%d -> %s\n", port, serial.slavePath(port).c_str());
    }
    // The board is up: whoever starts a console on it waits for this file.
    const std::string ready = root + "/run/board.ready";
    const int readyFd = open(ready.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (readyFd >= 0)
        close(readyFd);
    // The control; a closed standard input leaves the sprayer and the unit as they are.
    ports[StandinSerial::kPorts] = {STDIN_FILENO, POLLIN, 0};
    std::string control;
    std::fflush(stdout);
    struct sigaction action = {};
    action.sa_handler = requestStop;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    while (!stopRequested) {
        const int ready = poll(ports, StandinSerial::kPorts + 1, 500);
        if (ready < 0 && errno != EINTR)
            break;
        for (int port = 0; ready > 0 && port < StandinSerial::kPorts; ++port) {
            if (!(ports[port].revents & POLLIN))
                continue;
            char buffer[512];
            const ssize_t n = read(ports[port].fd, buffer, sizeof buffer);
            if (n > 0 && logs[port] >= 0 && write(logs[port], buffer, size_t(n)) != n)
                std::fprintf(stderr, "standinroot: could not log port %d\n", port);
        }
        if (ready > 0 && (ports[StandinSerial::kPorts].revents & (POLLIN | POLLHUP))) {
            char buffer[256];
            const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
            if (n <= 0) {
                ports[StandinSerial::kPorts].fd = -1;
                continue;
            }
            control.append(buffer, size_t(n));
            for (size_t end; (end = control.find('\n')) != std::string::npos; control.erase(0, end + 1)) {
                const std::string line = control.substr(0, end);
                if (line.find_first_not_of(" \t\r") == std::string::npos)
                    continue;
                const std::string answer =
                    StandinSectrix::handles(line) ? sectrix.command(line) : sprayer.command(line);
                std::printf("%s\n", answer.c_str());
            }
            std::fflush(stdout);
        }
    }
    unlink(ready.c_str());
    for (int log : logs)
        if (log >= 0)
            close(log);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    bool serveMode = false;
    const char* dir = nullptr;
    SprayerSetup setup;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0)
            return usage(0);
        if (std::strcmp(argv[i], "--serve") == 0) {
            serveMode = true;
        } else if (std::strcmp(argv[i], "--speed-cal") == 0 || std::strcmp(argv[i], "--flow-cal") == 0) {
            if (i + 1 == argc)
                return usage(2);
            char* end = nullptr;
            const double value = std::strtod(argv[i + 1], &end);
            if (*end != '\0' || !(value > 0.0))
                return usage(2);
            if (std::strcmp(argv[i], "--speed-cal") == 0)
                setup.speedPulsesPer100m = value;
            else
                setup.flowPulsesPerLitre = value;
            ++i;
        } else if (!dir) {
            dir = argv[i];
        } else {
            return usage(2);
        }
    }
    if (!dir)
        return usage(2);
    if (!standinCreateRoot(dir)) {
        std::fprintf(stderr, "standinroot: could not lay out %s\n", dir);
        return 1;
    }
    if (serveMode)
        return serve(dir, setup);
    std::printf("%s\n", dir);
    return 0;
}
