#include "workbook/NetWorkbook.h"

#include "model/CVantorDoc.h"
#include "net/NetCatalogue.h"
#include "net/NetCommandForm.h"
#include "net/NetCompiler.h"
#include "net/NetGraphicScene.h"
#include "net/NetProjectEditor.h"
#include "net/NetServerForm.h"
#include "net/NetSettingsForms.h"
#include "sheet/RowFields.h"
#include "transfer/GatewayAddress.h"
#include "workbook/NetChoices.h"
#include "workbook/VantorChoices.h"

#include <algorithm>
#include <charconv>

namespace vantor::workbook {

namespace {

using editing::FormResult;
using sheet::FieldRow;
using sheet::header;
using sheet::notOffered;
using sheet::RowSink;
using sheet::SheetTable;
using sheet::takeChoice;
using sheet::takeInteger;

// Places in the drawing: an icon at least partly on it (the view starts at
// 0, 0 and grows to the right and down), within a bound the view can take.
constexpr int kPlaceLimit = 10000;
constexpr int kIconXMin = 1 - net::kNetIconWidth;
constexpr int kIconYMin = 1 - net::kNetIconHeight;

// The defaults of 从站属性 in add mode, which a blank key cell stands for.
const net::NewServerValues kNewServer;

// The key of a refused row, for the rows that depend on it: unreadable
// parts match anything.
std::vector<std::string> refusedKey(const FieldRow& row) {
    const std::string& ip = row.text(kNsIp);
    const auto octets = transfer::parseDottedIp(ip);
    return {octets ? transfer::dottedText(*octets) : ip, row.text(kNsPort), row.text(kNsUnit)};
}

class Importer {
public:
    explicit Importer(const sheet::ReadWorkbook& book) : book_(book) {}
    NetImportResult run();

private:
    NetImportResult finish();
    bool gatewayRow(const FieldRow& row, RowSink& sink);
    bool portRow(const FieldRow& row, RowSink& sink);
    bool serverRow(const FieldRow& row, RowSink& sink);
    bool nodeRow(const FieldRow& row, RowSink& sink);
    bool commandRow(const FieldRow& row, RowSink& sink);
    // The server a row names, -1 when none.
    int findServer(const FieldRow& row) const;
    // The compile's checks on what a row added; false after refusing.
    bool compiles(RowSink& sink) { return net::checkNetCompile(doc_, sink); }

    const sheet::ReadWorkbook& book_;
    net::CVantorNetDoc doc_;
    NetImportResult result_;
    std::optional<int> busLength_;
    std::vector<std::string> portsSet_;
    sheet::RefusedKeys refusedServers_; // (IP, port, unit)
    sheet::RefusedKeys refusedNodes_;   // (IP, port, unit, node unit)
};

bool Importer::gatewayRow(const FieldRow& row, RowSink& sink) {
    if (doc_.hasMaster()) {
        sink.error(kOneGateway);
        return false;
    }
    const auto& layout = netGatewaySheet();
    int model = -1, mode = -1;
    std::optional<int> x, y, busX, busY;
    if (!takeChoice(row, layout, kNgModel, netModelChoices(), model, sink) ||
        !takeInteger(row, layout, kNgX, kIconXMin, kPlaceLimit, x, sink) ||
        !takeInteger(row, layout, kNgY, kIconYMin, kPlaceLimit, y, sink) ||
        !takeInteger(row, layout, kNgBusX, 0, kPlaceLimit, busX, sink) ||
        !takeInteger(row, layout, kNgBusY, 0, kPlaceLimit, busY, sink) ||
        !takeInteger(row, layout, kNgBusLength, 0, kPlaceLimit, busLength_, sink) ||
        !takeChoice(row, layout, kNgWorkMode, netWorkModeChoices(), mode, sink))
        return false;
    const std::string& name = netModelChoices()[static_cast<std::size_t>(model)];
    if (net::activateNetCatalogueItem(doc_, name, net::kGatewayRoot, sink).action !=
        net::NetCatalogueAction::GatewayAdded)
        return false;
    net::CMaster& gateway = doc_.masters.front();
    gateway.x = x.value_or(gateway.x);
    gateway.y = y.value_or(gateway.y);
    // The bus is where new servers are placed from; its length follows the
    // servers (below).
    doc_.bus.x = busX.value_or(doc_.bus.x);
    doc_.bus.y = busY.value_or(doc_.bus.y);
    // 工作模式设置 offers the mode on the LNK gateway only, but the project
    // keeps (and the download sends) the mode for every model: a mode a
    // project holds comes back whatever the model.
    if (mode >= 0)
        net::acceptWorkModeForm(doc_, mode);
    if (const auto on = row.flag(kNgEditSendDefault))
        net::acceptChangeSendDefaultForm(doc_, *on);
    return true;
}

bool Importer::portRow(const FieldRow& row, RowSink& sink) {
    const auto& layout = netPortsSheet();
    int port = -1, baud = -1, parity = -1, stop = -1;
    if (!takeChoice(row, layout, kNpPort, netPortChoices(), port, sink) ||
        !takeChoice(row, layout, kNpBaud, netBaudChoices(), baud, sink, {{"115.2k", 6}}) ||
        !takeChoice(row, layout, kNpParity, netParityChoices(), parity, sink) ||
        !takeChoice(row, layout, kNpStop, netStopChoices(), stop, sink, {{"1", 0}, {"2", 1}}))
        return false;
    const std::string& name = row.text(kNpPort);
    if (std::find(portsSet_.begin(), portsSet_.end(), name) != portsSet_.end()) {
        sink.refuse(header(layout, kNpPort), kPortTwice);
        return false;
    }
    // 主站设置 greys out COM2 of a single-port model, yet the project keeps
    // its settings; a workbook gives them back through the same checks.
    net::NetGatewayForm form = net::openGatewayForm(doc_);
    form.com2Enabled = true;
    net::NetPortFields& fields = port == 0 ? form.com1 : form.com2;
    fields.baud = baud >= 0 ? baud : fields.baud;
    fields.parity = parity >= 0 ? parity : fields.parity;
    fields.stop = stop >= 0 ? stop : fields.stop;
    if (!row.blank(kNpAddress))
        fields.addressText = row.text(kNpAddress);
    if (net::acceptGatewayForm(doc_, form, sink) != FormResult::Accepted)
        return false;
    portsSet_.push_back(name);
    return true;
}

bool Importer::serverRow(const FieldRow& row, RowSink& sink) {
    const auto& layout = netServersSheet();
    std::optional<int> x, y;
    if (!takeInteger(row, layout, kNsX, kIconXMin, kPlaceLimit, x, sink) ||
        !takeInteger(row, layout, kNsY, kIconYMin, kPlaceLimit, y, sink))
        return false;
    // Normal Server in the device tree, then 从站属性 as it opens in add mode.
    if (net::activateNetCatalogueItem(doc_, net::kNormalServer, net::kServerRoot, sink).action !=
        net::NetCatalogueAction::OpenSlaveForm)
        return false;
    net::NetServerForm form = net::openNewServerForm(doc_);
    const std::pair<int, std::string*> fields[] = {
        {kNsIp, &form.ipText},     {kNsPort, &form.portText},         {kNsUnit, &form.unitText},
        {kNsName, &form.nameText}, {kNsInterval, &form.intervalText}, {kNsTimeout, &form.timeoutText}};
    for (auto [column, field] : fields)
        if (!row.blank(column))
            *field = row.text(column);
    // The dialog keeps the chosen picture's file name only.
    if (!row.blank(kNsPicture))
        form.picture = net::pictureFileName(row.text(kNsPicture));
    form.control = row.flag(kNsControl).value_or(form.control);
    const FormResult accepted = net::acceptServerForm(doc_, form, sink);
    net::endServerForm(doc_);
    if (accepted != FormResult::Accepted)
        return false;
    auto& s = doc_.slaves[static_cast<std::size_t>(form.slave)];
    s.x = x.value_or(s.x);
    s.y = y.value_or(s.y);
    return true;
}

int Importer::findServer(const FieldRow& row) const {
    // A blank is the dialog's default; a text that is no number names no
    // server.
    auto value = [&](int column, int blank) {
        if (row.blank(column))
            return blank;
        const std::string& t = row.text(column);
        int v = -1;
        const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
        return ec == std::errc() && end == t.data() + t.size() ? v : -1;
    };
    return net::findServer(doc_, row.text(kNsIp), value(kNsPort, kNewServer.port),
                           value(kNsUnit, kNewServer.unitAddress));
}

bool Importer::nodeRow(const FieldRow& row, RowSink& sink) {
    const auto& layout = netNodesSheet();
    const int server = findServer(row);
    if (server < 0) {
        // A node of a refused server depends on it.
        if (refusedServers_.covers(refusedKey(row)))
            return true;
        sink.refuse(header(layout, kNnIp), kNoSuchServer);
        return false;
    }
    std::optional<int> unit;
    if (!takeInteger(row, layout, kNnNode, 1, 247, unit, sink))
        return false;
    auto& nodes = doc_.slaves[static_cast<std::size_t>(server)].nodes;
    for (const auto& n : nodes)
        if (n.address == *unit) {
            sink.refuse(header(layout, kNnNode), kNodeTwice);
            return false;
        }
    nodes.push_back({*unit, {}});
    if (!compiles(sink)) {
        nodes.pop_back();
        return false;
    }
    return true;
}

bool Importer::commandRow(const FieldRow& row, RowSink& sink) {
    const auto& layout = netCommandsSheet();
    const int server = findServer(row);
    if (server < 0) {
        // The command of a refused server depends on it.
        if (refusedServers_.covers(refusedKey(row)))
            return true;
        sink.refuse(header(layout, kNcIp), kNoSuchServer);
        return false;
    }
    const auto& s = doc_.slaves[static_cast<std::size_t>(server)];
    int node = 0;
    if (!row.blank(kNcNode)) {
        node = -1;
        for (std::size_t n = 0; n < s.nodes.size() && node < 0; ++n)
            if (std::to_string(s.nodes[n].address) == row.text(kNcNode))
                node = static_cast<int>(n);
        if (node < 0) {
            auto key = refusedKey(row);
            key.push_back(row.text(kNcNode));
            if (refusedNodes_.covers(key))
                return true;
            sink.refuse(header(layout, kNcNode), kNoSuchNode);
            return false;
        }
    }
    int kindIndex = -1;
    if (!takeChoice(row, layout, kNcFunc, functionChoices(), kindIndex, sink))
        return false;
    const std::string func(model::kCommandKinds[static_cast<std::size_t>(kindIndex)].func);

    // The function label in the device tree on the server, then 命令设置 as
    // it opens; its proposal counts only for a blank 网关地址.
    doc_.currentSelect = net::CVantorNetDoc::slaveSelection(server);
    if (net::activateNetCatalogueItem(doc_, func, net::kNormalServer, sink).action !=
        net::NetCatalogueAction::OpenCommandForm)
        return false;
    RecordingSink opening;
    auto form = net::openNewNetCommandForm(doc_, func, opening, node);
    if (!form)
        return false;
    if (row.blank(kNcGateway) && !opening.messages.empty()) {
        sink.error(opening.messages.front().text);
        return false;
    }
    if (row.flag(kNcEditSend).value_or(false) && !form->editSendVisible) {
        sink.refuse(header(layout, kNcEditSend), notOffered(header(layout, kNcEditSend)));
        return false;
    }
    const std::pair<int, std::string*> fields[] = {{kNcModbus, &form->modbusText},
                                                   {kNcStart, &form->startText},
                                                   {kNcLength, &form->lengthText},
                                                   {kNcGateway, &form->gatewayText},
                                                   {kNcComment, &form->commentText}};
    for (auto [column, field] : fields)
        if (!row.blank(column))
            *field = row.text(column);
    form->editSend = row.flag(kNcEditSend).value_or(form->editSend);
    if (net::acceptNetCommandForm(doc_, *form, sink) != FormResult::Accepted)
        return false;
    // The compile's checks, command by command as they would stop the
    // download.
    if (!compiles(sink)) {
        auto& modules =
            doc_.slaves[static_cast<std::size_t>(server)].nodes[static_cast<std::size_t>(node)].modules;
        modules.pop_back();
        return false;
    }
    return true;
}

NetImportResult Importer::run() {
    auto& report = result_.report;
    const SheetTable gateway = SheetTable::read(book_, netGatewaySheet(), report);
    const SheetTable ports = SheetTable::read(book_, netPortsSheet(), report);
    const SheetTable servers = SheetTable::read(book_, netServersSheet(), report);
    const SheetTable nodes = SheetTable::read(book_, netNodesSheet(), report);
    const SheetTable commands = SheetTable::read(book_, netCommandsSheet(), report);

    for (const FieldRow& r : servers.refused)
        refusedServers_.add(refusedKey(r));
    auto refuseNode = [&](const FieldRow& r) {
        auto key = refusedKey(r);
        key.push_back(r.text(kNnNode));
        refusedNodes_.add(std::move(key));
    };
    for (const FieldRow& r : nodes.refused)
        refuseNode(r);
    if (gateway.present && gateway.rows.empty() && gateway.refused.empty())
        report.refuse({kGatewaySheet, 0, {}, model::kNoGateway});
    sheet::importRows(gateway, report, [&](const FieldRow& r, RowSink& s) { return gatewayRow(r, s); });
    // Without a gateway the project cannot be compiled: nothing else is
    // checked.
    if (!doc_.hasMaster())
        return finish();

    sheet::importRows(ports, report, [&](const FieldRow& r, RowSink& s) { return portRow(r, s); });
    sheet::importRows(servers, report, [&](const FieldRow& r, RowSink& s) {
        if (serverRow(r, s))
            return true;
        refusedServers_.add(refusedKey(r));
        return false;
    });
    sheet::importRows(nodes, report, [&](const FieldRow& r, RowSink& s) {
        if (nodeRow(r, s))
            return true;
        refuseNode(r);
        return false;
    });
    sheet::importRows(commands, report, [&](const FieldRow& r, RowSink& s) { return commandRow(r, s); });

    // The bus as the sheet gives it, stretched (as adding a server stretches
    // it) where it would end before a server.
    doc_.bus.length = busLength_.value_or(doc_.bus.length);
    for (const auto& s : doc_.slaves)
        if (doc_.bus.x + doc_.bus.length < s.x + 120)
            doc_.bus.length = s.x - doc_.bus.x + 120;
    return finish();
}

NetImportResult Importer::finish() {
    auto& report = result_.report;
    report.sort({kGatewaySheet, kLinesSheet, kSlavesSheet, kNodesSheet, kCommandsSheet});
    if (report.accepted()) {
        doc_.currentSelect = net::CVantorNetDoc::kSelectNothing;
        doc_.modified = true;
        result_.project = std::move(doc_);
    }
    return std::move(result_);
}

} // namespace

NetImportResult importNetSheets(const sheet::ReadWorkbook& book) {
    return Importer(book).run();
}

NetImportResult importNetWorkbook(const std::string& path) {
    return sheet::importFile<net::CVantorNetDoc>(
        path, [](const sheet::ReadWorkbook& book) { return importNetSheets(book); });
}

} // namespace vantor::workbook
