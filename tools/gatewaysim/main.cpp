// vantor-gatewaysim: plays one gateway model on the configuration port:
// any model of the configurator or of VantorNet. Received blocks go to the
// dump directory as block<command>.hex (20: RTU interface, 21: fieldbus
// operation, reassembled from its parts by their total), netparams.hex and
// restarts.
//
//   vantor-gatewaysim --model NAME [--bind ADDR] [--port N] [--dump-dir DIR]
//                     [--port-file F] [--verbose] [fault switches]
//
// --port 0 lets the system choose a free port; --port-file writes the port
// actually bound (one line) to F as soon as the simulator listens: into F
// directly when F is a FIFO (a test can block reading it), otherwise by an
// atomic rename. Fault switches:
//   --identity-code HEX      report this identity code instead of the model's
//   --identity-tail HEXHEXHEX  the three bytes after the code (normally 345806)
//   --version A,B            the two version marks (normally 1,1)
//   --status CMD=N           acknowledge command CMD with status N
//   --no-reply CMD           never answer command CMD
//   --short-reply CMD        answer CMD with the 8-byte header only
//   --split-reply CMD        answer CMD in two segments, --split-gap MS apart (200)
//   --split-hold             send the second segment only when the next request arrives
//   --delay MS               hold every reply back for MS
//   --reset-at CMD           reset the connection when CMD arrives
//   --long-reply CMD         answer CMD with 64 bytes of garbage after the reply
//   --close-after CMD        close the connection right after answering CMD
//   --chatter MS             every MS ms, a frame that answers no request, on
//                            every connection (command 85; on MODBUS TCP a
//                            diagnostics echo with transaction id 0x5555)
// Every switch taking CMD may be given several times.
//
// MODBUS TCP and device services:
//   --modbus-port N          state and control words on N (0 = free); without
//                            it 502 is tried and left out when taken
//   --modbus-port-file F     the MODBUS port actually bound, as --port-file
//   --modbus-fault           answer every control-word write with exception 0x86
//   --layout 52|44           full identification reply (44: without MAC2);
//                            without it the short device-state reply
//   --run-state N            run state in the identification (default 2)
//   --firmware-result N      answer every firmware block with result N
//
// A fleet:
//   --fleet N                plays N gateways of the model in one process, each
//                            with its own state, registers and dump folder
//                            (DIR/member1, DIR/member2, ...), on consecutive
//                            ports from --port and --modbus-port (0, or no
//                            --modbus-port: ports the system chooses); the
//                            port file then has one line per member: its
//                            configuration port and its MODBUS TCP port
//   --member I               the fault switches after it apply to member I
//                            (1..N) alone, on top of those given before the
//                            first --member; --modbus-fault, --layout,
//                            --run-state and --firmware-result apply to all
//
// Live project:
//   --project FILE.vtc       start as if FILE had been downloaded (its checks
//                            and blocks) and serve its data areas with values
//                            the simulated slaves produce (LiveProject.h);
//                            --model may then be left out
//   --dead COM1:3[,...]      these slaves never answer (may be repeated)
#include "ConfigSession.h"
#include "GatewayState.h"
#include "LiveProject.h"
#include "ModbusSession.h"
#include "Simulator.h"

#include "common/AtomicFile.h"
#include "common/InfoOptions.h"
#include "editing/LineBudget.h"
#include "model/GatewayCatalogue.h"
#include "net/NetCatalogue.h"
#include "services/SlaveStateRegisters.h"
#include "transfer/CommandFrame.h"

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace vantor;

namespace {

const char* const kUsage =
    "usage: vantor-gatewaysim --model NAME [--bind ADDR] [--port N] [--dump-dir DIR]\n"
    "                         [--port-file F] [--verbose] [--identity-code HEX]\n"
    "                         [--identity-tail HEX6] [--version A,B] [--status CMD=N]\n"
    "                         [--no-reply CMD] [--short-reply CMD] [--split-reply CMD]\n"
    "                         [--split-gap MS] [--split-hold] [--delay MS] [--reset-at CMD]\n"
    "                         [--long-reply CMD] [--close-after CMD] [--chatter MS]\n"
    "                         [--modbus-port N] [--modbus-port-file F] [--modbus-fault]\n"
    "                         [--layout 52|44] [--run-state N] [--firmware-result N]\n"
    "       vantor-gatewaysim --model NAME --fleet N [--port-file F] [the options above]\n"
    "                         [--member I fault switches for member I]...\n"
    "       vantor-gatewaysim --project FILE.vtc [--dead COM1:3,...] [the options above]\n"
    "       vantor-gatewaysim --version   (alone: the suite's release; with a value: the fault switch)\n"
    "       vantor-gatewaysim --help\n";

void usage() {
    std::fputs(kUsage, stderr);
}

bool number(const std::string& s, long max, long& out) {
    if (s.empty() || s.size() > 10)
        return false;
    out = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        out = out * 10 + (c - '0');
    }
    return out <= max;
}

bool writePortFile(const std::string& path, const std::string& line) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode)) {
        int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0)
            return false;
        bool ok = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
        ::close(fd);
        return ok;
    }
    std::string error;
    return writeFileAtomically(path, line, &error);
}

class StderrWireLog : public transfer::WireLog {
public:
    void frame(transfer::WireDirection d, int64_t t, transfer::ByteView b) override {
        std::fprintf(stderr, "%s\n", transfer::formatWireLine(d, t, b).c_str());
    }
    void note(int64_t t, const std::string& text) override {
        std::fprintf(stderr, "%s\n", transfer::formatWireNote(t, text).c_str());
    }
};

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (auto status = common::answerInfoOptions(args, "vantor-gatewaysim", kUsage, std::cout))
        return *status;
    std::string modelName, bind = "127.0.0.1", dumpDir, portFile;
    long port = -1;
    bool verbose = false;
    sim::Faults faults;
    sim::Faults* target = &faults;
    std::map<int, sim::Faults> memberFaults;
    long fleet = 0;
    long modbusPort = -1, layout = 0, runState = 2, firmwareResult = 0;
    std::string modbusPortFile;
    bool modbusFault = false;
    std::string projectPath;
    std::set<std::pair<std::string, int>> dead;
    auto bad = [](const std::string& what) {
        std::fprintf(stderr, "vantor-gatewaysim: %s\n", what.c_str());
        usage();
        return 2;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--verbose") {
            verbose = true;
            continue;
        }
        if (a == "--modbus-fault") {
            modbusFault = true;
            continue;
        }
        if (a == "--split-hold") {
            target->splitHold = true;
            continue;
        }
        if (a == "--help") {
            usage();
            return 0;
        }
        if (i + 1 >= args.size())
            return bad("missing value for " + a);
        const std::string v = args[++i];
        long n = 0;
        if (a == "--member") {
            if (!number(v, 1000, n) || n < 1 || (fleet > 0 && n > fleet))
                return bad("--member takes a member number 1.." + std::to_string(fleet) + " after --fleet");
            // The switches so far apply to every member; those after it to
            // this one alone, until the next --member.
            target = &memberFaults.try_emplace(static_cast<int>(n), faults).first->second;
        } else if (a == "--fleet") {
            if (!number(v, 1000, fleet) || fleet < 1)
                return bad("--fleet takes a number of gateways 1..1000");
        } else if (a == "--model") {
            modelName = v;
        } else if (a == "--bind") {
            bind = v;
        } else if (a == "--port") {
            if (!number(v, 65535, port))
                return bad("bad port " + v);
        } else if (a == "--dump-dir") {
            dumpDir = v;
        } else if (a == "--port-file") {
            portFile = v;
        } else if (a == "--identity-code") {
            auto b = transfer::fromHex(v);
            if (!b || b->size() != 1)
                return bad("--identity-code takes one hex byte");
            target->identityCode = (*b)[0];
        } else if (a == "--identity-tail") {
            auto b = transfer::fromHex(v);
            if (!b || b->size() != 3)
                return bad("--identity-tail takes three hex bytes");
            target->identityTail = std::array<uint8_t, 3>{(*b)[0], (*b)[1], (*b)[2]};
        } else if (a == "--version") {
            auto comma = v.find(',');
            long x = 0, y = 0;
            if (comma == std::string::npos || !number(v.substr(0, comma), 255, x) ||
                !number(v.substr(comma + 1), 255, y))
                return bad("--version takes A,B");
            target->versionMarks = {static_cast<uint8_t>(x), static_cast<uint8_t>(y)};
        } else if (a == "--status") {
            auto eq = v.find('=');
            long cmd = 0, st = 0;
            if (eq == std::string::npos || !number(v.substr(0, eq), 0xFFFFFFFFL, cmd) ||
                !number(v.substr(eq + 1), 255, st))
                return bad("--status takes CMD=N");
            target->status[static_cast<uint32_t>(cmd)] = static_cast<uint8_t>(st);
        } else if (a == "--no-reply" || a == "--short-reply" || a == "--split-reply" || a == "--reset-at" ||
                   a == "--long-reply" || a == "--close-after") {
            if (!number(v, 0xFFFFFFFFL, n))
                return bad(a + " takes a command number");
            auto& set = a == "--no-reply"      ? target->noReply
                        : a == "--short-reply" ? target->shortReply
                        : a == "--split-reply" ? target->splitReply
                        : a == "--long-reply"  ? target->longReply
                        : a == "--close-after" ? target->closeAfter
                                               : target->resetAt;
            set.insert(static_cast<uint32_t>(n));
        } else if (a == "--split-gap" || a == "--delay") {
            if (!number(v, 600000, n))
                return bad(a + " takes milliseconds");
            (a == "--delay" ? target->delayMs : target->splitGapMs) = static_cast<int>(n);
        } else if (a == "--chatter") {
            if (!number(v, 600000, n) || n == 0)
                return bad("--chatter takes milliseconds (1 or more)");
            target->chatterMs = static_cast<int>(n);
        } else if (a == "--modbus-port") {
            if (!number(v, 65535, modbusPort))
                return bad("bad MODBUS port " + v);
        } else if (a == "--modbus-port-file") {
            modbusPortFile = v;
        } else if (a == "--project") {
            projectPath = v;
        } else if (a == "--dead") {
            if (!editing::parseDeadSlaves(v, dead))
                return bad("--dead takes COM1:3[,COM2:5...]");
        } else if (a == "--layout") {
            if (!number(v, 52, layout) || (layout != 52 && layout != 44))
                return bad("--layout takes 52 or 44");
        } else if (a == "--run-state" || a == "--firmware-result") {
            if (!number(v, 255, n))
                return bad(a + " takes a number 0..255");
            (a == "--run-state" ? runState : firmwareResult) = n;
        } else {
            return bad("unknown option " + a);
        }
    }
    std::optional<sim::LiveStart> live;
    if (!projectPath.empty()) {
        std::string why;
        live = sim::prepareLiveProject(projectPath, &why);
        if (!live) {
            std::fprintf(stderr, "vantor-gatewaysim: %s: %s\n", projectPath.c_str(), why.c_str());
            return 2;
        }
        if (!modelName.empty() && modelName != live->doc.modelName())
            return bad("--model " + modelName + " is not the project's model " + live->doc.modelName());
        modelName = live->doc.modelName();
        if (const auto unknown = sim::unknownDeadSlaves(live->doc, dead); !unknown.empty())
            return bad("--dead " + unknown.front() + ": no such slave in " + projectPath);
    } else if (!dead.empty()) {
        return bad("--dead needs --project");
    }
    if (fleet > 0 && live)
        return bad("--fleet plays gateways that start empty: --project cannot go with it");
    if (!memberFaults.empty() && fleet == 0)
        return bad("--member needs --fleet");
    // The configurator's models and VantorNet's (QB-H-NET2.0 is VantorNet's
    // only; its identity is not checked, so it reports the catch-all code).
    if (!model::findGatewayModel(modelName) && !net::findNetGatewayModel(modelName))
        return bad(modelName.empty() ? "--model is required" : "unknown gateway model " + modelName);
    if (port < 0)
        port = transfer::servicePort(modelName, 5032);

    sim::Simulator simulator;
    if (!simulator.catchStopSignals()) {
        std::fprintf(stderr, "vantor-gatewaysim: cannot catch stop signals\n");
        return 1;
    }
    StderrWireLog log;
    if (verbose)
        simulator.setWireLog(&log);

    // Each gateway with its own state, dump folder, fault switches and
    // registers; all of them served by the one loop.
    struct Member {
        std::unique_ptr<sim::GatewayState> state;
        std::unique_ptr<sim::ModbusRegisters> registers;
    };
    std::vector<Member> members;
    std::optional<sim::LiveProject> liveProject;
    std::string portLines, modbusLines;
    const long count = fleet > 0 ? fleet : 1;
    for (long m = 1; m <= count; ++m) {
        std::string memberDump = dumpDir;
        if (fleet > 0 && !dumpDir.empty()) {
            memberDump = dumpDir + "/member" + std::to_string(m);
            std::error_code ec;
            std::filesystem::create_directories(memberDump, ec);
        }
        auto state = std::make_unique<sim::GatewayState>(modelName, memberDump);
        const auto own = memberFaults.find(static_cast<int>(m));
        state->faults = own != memberFaults.end() ? own->second : faults;
        state->services.identity().layout = static_cast<int>(layout);
        state->services.identity().runState = static_cast<uint8_t>(runState);
        state->services.setFirmwareResult(static_cast<uint8_t>(firmwareResult));
        state->services.setDumpDir(memberDump);
        if (live)
            sim::keepAsDownloaded(*state, *live);
        auto registers =
            std::make_unique<sim::ModbusRegisters>(services::usesStatusLayout(modelName), live.has_value());
        registers->writeFault = modbusFault;
        if (live) {
            liveProject.emplace(live->doc, dead, services::usesStatusLayout(modelName));
            registers->attachLive(&*liveProject, live->blocks.fieldbus);
            const auto cycles = liveProject->cycleMs();
            for (std::size_t l = 0; verbose && l < cycles.size(); ++l)
                std::fprintf(stderr, "vantor-gatewaysim: %s poll cycle %.1f ms\n",
                             live->doc.coms[l].COMName.c_str(), cycles[l]);
        }
        // A fleet's members listen on consecutive ports from the given ones,
        // or on ports the system chooses when they are 0.
        const int offset = static_cast<int>(m - 1);
        const int configPort = port == 0 ? 0 : static_cast<int>(port) + offset;
        std::string error;
        auto* st = state.get();
        int bound = configPort > 65535
                        ? -1
                        : simulator.listen(
                              bind, configPort, "config",
                              [st] { return std::make_unique<sim::ConfigSession>(*st); }, &error);
        if (bound < 0) {
            std::fprintf(stderr, "vantor-gatewaysim: %s\n",
                         error.empty() ? "port out of range" : error.c_str());
            return 1;
        }
        if (verbose)
            std::fprintf(stderr, "vantor-gatewaysim: %s on %s:%d\n", modelName.c_str(), bind.c_str(), bound);
        auto* regs = registers.get();
        const int wantedModbus = modbusPort < 0    ? (fleet > 0 ? 0 : 502)
                                 : modbusPort == 0 ? 0
                                                   : static_cast<int>(modbusPort) + offset;
        int modbusBound =
            wantedModbus > 65535
                ? -1
                : simulator.listen(
                      bind, wantedModbus, "modbus",
                      [regs, st] { return std::make_unique<sim::ModbusSession>(*regs, *st); }, &error);
        if (modbusBound < 0 && (modbusPort >= 0 || fleet > 0)) {
            std::fprintf(stderr, "vantor-gatewaysim: %s\n", error.c_str());
            return 1;
        }
        if (modbusBound < 0)
            std::fprintf(stderr, "vantor-gatewaysim: no MODBUS TCP (%s)\n", error.c_str());
        else if (verbose)
            std::fprintf(stderr, "vantor-gatewaysim: MODBUS TCP on %s:%d\n", bind.c_str(), modbusBound);
        // A fleet's port file has one line per member: its configuration
        // port and its MODBUS TCP port.
        portLines += std::to_string(bound) + (fleet > 0 ? " " + std::to_string(modbusBound) : "") + "\n";
        if (modbusBound >= 0)
            modbusLines += std::to_string(modbusBound) + "\n";
        members.push_back({std::move(state), std::move(registers)});
    }
    if (!portFile.empty() && !writePortFile(portFile, portLines)) {
        std::fprintf(stderr, "vantor-gatewaysim: cannot write %s\n", portFile.c_str());
        return 1;
    }
    if (!modbusLines.empty() && !modbusPortFile.empty() && !writePortFile(modbusPortFile, modbusLines)) {
        std::fprintf(stderr, "vantor-gatewaysim: cannot write %s\n", modbusPortFile.c_str());
        return 1;
    }
    return simulator.run();
}
