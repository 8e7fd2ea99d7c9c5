#pragma once
// VantorNet projects assembled the way a user assembles them: the device
// tree, 主站设置, 工作模式设置, 数变即发默认设置, 从站属性 and 命令设置, each
// through its core operation, with their checks passing. The largest is the
// most a model takes: 31 servers and 1024 commands (the PROFIBUS gateway:
// both DP images full). Used by the workbook tests and benchmarks.
#include "AssembledProjects.h"
#include "net/NetCatalogue.h"
#include "net/NetCommandForm.h"
#include "net/NetCompiler.h"
#include "net/NetProjectEditor.h"
#include "net/NetServerForm.h"
#include "net/NetSettingsForms.h"

#include <array>
#include <stdexcept>
#include <string>
#include <vector>

namespace vantor::testing {

struct NetAssembly {
    int servers = net::kMaxSlaves;
    int commands = net::kMaxCommands; // the PROFIBUS gateway stops when its DP images are full
    // Gateway addresses as the command dialog proposes them; the commands
    // are then entered server by server, the order of a workbook's rows.
    bool proposed = false;
};

// The kinds of the commands in turn, with lengths that keep every area
// within its end at 1024 commands (catalogue order of the labels).
inline constexpr std::array<int, 8> kNetLengths{8, 8, 1, 16, 8, 4, 1, 4};

inline net::CVantorNetDoc assembleNetProject(std::string_view model, const NetAssembly& a = {}) {
    StrictSink sink;
    net::CVantorNetDoc doc;
    net::activateNetCatalogueItem(doc, model, net::kGatewayRoot, sink);
    auto ports = net::openGatewayForm(doc);
    ports.com1 = {6, 0, 1, "20"};
    ports.com2 = {1, 1, 0, "33"};
    accepted(net::acceptGatewayForm(doc, ports, sink));
    if (net::openWorkModeForm(doc))
        net::acceptWorkModeForm(doc, 1);
    net::acceptChangeSendDefaultForm(doc, true);

    auto addServer = [&](int i) {
        if (net::activateNetCatalogueItem(doc, net::kNormalServer, net::kServerRoot, sink).action !=
            net::NetCatalogueAction::OpenSlaveForm)
            throw std::logic_error("server refused");
        auto f = net::openNewServerForm(doc);
        // One IP as typed with leading zeros; one endpoint with two units.
        f.ipText = i == 3 ? "192.168.001.050" : "192.168.1." + std::to_string(i == 4 ? 10 : 10 + i);
        f.unitText = std::to_string(i == 4 ? 2 : 1 + i % 3);
        f.portText = std::to_string(502 + i % 2);
        f.nameText = "从站" + std::to_string(i) + (i % 4 == 0 ? " <温&度>\"" : "");
        f.intervalText = std::to_string((i % 31) * 100);
        f.timeoutText = std::to_string(10 + (i % 29) * 100);
        f.picture = i % 2 ? "node.bmp" : "meter.bmp";
        f.control = i % 3 != 0;
        accepted(net::acceptServerForm(doc, f, sink));
        net::endServerForm(doc);
    };
    for (int i = 0; i < a.servers; ++i)
        addServer(i);
    if (a.servers > 6) {
        // One deleted and another added: a gap in the drawing.
        doc.currentSelect = net::CVantorNetDoc::slaveSelection(5);
        net::deleteNetSelection(doc, sink);
        addServer(a.servers);
    }
    // A second unit on the first server: only an edited file has one.
    if (!doc.slaves.empty())
        doc.slaves.front().nodes.push_back({77, {}});

    const bool profibus = net::isProfibusModel(model);
    const int servers = static_cast<int>(doc.slaves.size());
    std::array<int, 5> next{};
    int input = 0, output = 0;
    for (int i = 0, made = 0; made < a.commands && servers > 0 && i < 4 * net::kMaxCommands; ++i) {
        const auto& kind = model::kCommandKinds[static_cast<std::size_t>(i % 8)];
        const int length = profibus ? 1 : kNetLengths[static_cast<std::size_t>(i % 8)];
        if (profibus) {
            // Both DP images filled to their 244 bytes.
            net::CModule probe;
            probe.area_num = kind.area;
            probe.Length = length;
            int& image = kind.readWrite == 0 ? input : output;
            if (image + net::dpBytes(probe) > net::kDpImageLimit)
                continue;
            image += net::dpBytes(probe);
        }
        const int server = a.proposed ? made * servers / a.commands : made % servers;
        doc.currentSelect = net::CVantorNetDoc::slaveSelection(server);
        const int node = server == 0 && made % 2 == 1 && !a.proposed ? 1 : 0;
        auto f = net::openNewNetCommandForm(doc, kind.func, sink, node);
        f->startText = std::to_string(made * 20);
        f->lengthText = std::to_string(length);
        if (!a.proposed)
            f->gatewayText = std::to_string(next[static_cast<std::size_t>(kind.area)]);
        next[static_cast<std::size_t>(kind.area)] += length;
        f->modbusText = std::to_string(1 + made % 247);
        f->commentText = made % 3 == 0 ? "注释" + std::to_string(made) + " <温度&压力> \"引号\"" : "";
        if (kind.readWrite != 0 && made % 3 == 0)
            f->editSend = !f->editSend;
        accepted(net::acceptNetCommandForm(doc, *f, sink));
        if (!net::checkNetCompile(doc, sink))
            throw std::logic_error("command " + std::to_string(made) + " refused");
        ++made;
    }
    doc.currentSelect = net::CVantorNetDoc::kSelectNothing;
    return doc;
}

} // namespace vantor::testing
