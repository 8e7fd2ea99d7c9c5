#include "workbook/VantorWorkbook.h"

#include "editing/AddressingModeForm.h"
#include "editing/CdtOptionsForm.h"
#include "editing/ComPropertiesForm.h"
#include "editing/CommandEditor.h"
#include "editing/DefaultValuesForm.h"
#include "editing/EipParamsForm.h"
#include "editing/ProjectEditor.h"
#include "editing/SlavePropertiesForm.h"
#include "model/GatewayCatalogue.h"
#include "services/NetworkParams.h"
#include "services/WorkMode.h"
#include "sheet/RowFields.h"
#include "transfer/Exchange.h"
#include "transfer/GatewayAddress.h"
#include "view/GraphicScene.h"
#include "workbook/VantorChoices.h"

namespace vantor::workbook {

namespace {

using editing::FormResult;
using sheet::FieldRow;
using sheet::RowSink;
using sheet::SheetTable;

using sheet::header;
using sheet::notOffered;
using sheet::takeChoice;
using sheet::takeInteger;

// Positions are where the user dragged things in the drawing.
constexpr int kPlaceLimit = 10000;

// An address as the dialogs' address controls store it: "127.000.000.001"
// is 127.0.0.1, "1.2.3" is 1.2.3.0. A text no control can hold stays as it
// is, for the dialog's check to refuse.
std::string addressControlText(const std::string& text) {
    return transfer::completeDottedIp(text).value_or(text);
}

class Importer {
public:
    Importer(const sheet::ReadWorkbook& book, const model::CVantorDoc& fresh) : book_(book), doc_(fresh) {}
    ImportResult run();

private:
    ImportResult finish();
    bool gatewayRow(const FieldRow& row, RowSink& sink);
    bool eipAreas(const FieldRow& row, RowSink& sink);
    bool cdtOptions(const FieldRow& row, RowSink& sink);
    bool lineRow(const FieldRow& row, RowSink& sink);
    bool slaveRow(const FieldRow& row, RowSink& sink);
    bool commandRow(const FieldRow& row, RowSink& sink);

    const sheet::ReadWorkbook& book_;
    model::CVantorDoc doc_;
    ImportResult result_;
    bool cdt_ = false;
    int unclaimedCom2_ = -1;           // the CDT gateway's own COM2 until a row claims it
    sheet::RefusedKeys refusedLines_;  // (port)
    sheet::RefusedKeys refusedSlaves_; // (port, address text)
    struct Place {
        std::string line;
        std::optional<int> x, y, length;
    };
    std::vector<Place> places_;
};

bool Importer::gatewayRow(const FieldRow& row, RowSink& sink) {
    if (doc_.hasMaster()) {
        sink.error(VT_TEXT("只支持单主站"));
        return false;
    }
    const auto& layout = gatewaySheet();
    int model = -1;
    if (!takeChoice(row, layout, kGwModel, modelChoices(), model, sink))
        return false;
    const std::string name = modelChoices()[static_cast<std::size_t>(model)];
    if (editing::activateCatalogueItem(doc_, name, editing::kMasterRoot, sink).action !=
        editing::CatalogueAction::GatewayAdded)
        return false;
    cdt_ = model::gatewayModel(name).has(model::FeatureCdt);
    unclaimedCom2_ = cdt_ ? doc_.lineByName("COM2") : -1;

    std::optional<int> x, y;
    if (!takeInteger(row, layout, kGwX, -kPlaceLimit, kPlaceLimit, x, sink) ||
        !takeInteger(row, layout, kGwY, -kPlaceLimit, kPlaceLimit, y, sink))
        return false;
    doc_.masters.front().x = x.value_or(doc_.masters.front().x);
    doc_.masters.front().y = y.value_or(doc_.masters.front().y);

    int addressing = -1;
    if (!takeChoice(row, layout, kGwAddressing, addressingChoices(), addressing, sink,
                    {{editing::kDataAreaAddressingText, 0}, {editing::kRemoteAddressingText, 1}}))
        return false;
    if (addressing >= 0 &&
        editing::acceptAddressingModeForm(doc_, {addressing == 1}, sink) != FormResult::Accepted)
        return false;

    if (!row.blank(kGwEditSendDefault) || !row.blank(kGwInterval) || !row.blank(kGwTimeout)) {
        editing::DefaultValuesForm f = editing::openDefaultValuesForm(doc_);
        f.editSendEnabled = row.flag(kGwEditSendDefault).value_or(f.editSendEnabled);
        if (!row.blank(kGwInterval))
            f.intervalText = row.text(kGwInterval);
        if (!row.blank(kGwTimeout))
            f.timeoutText = row.text(kGwTimeout);
        if (editing::acceptDefaultValuesForm(doc_, f, sink) != FormResult::Accepted)
            return false;
    }

    // The access IP is kept in the project only; the access-address file
    // for new projects is the access dialog's business.
    if (!row.blank(kGwAccessIp)) {
        const std::string ip = addressControlText(row.text(kGwAccessIp));
        if (!transfer::gatewayHostAddress(ip)) {
            sink.error(transfer::Exchange::kAccessIpWrong);
            return false;
        }
        doc_.IP = ip;
    }

    if (!row.blank(kGwIp) || !row.blank(kGwMask) || !row.blank(kGwGateway) || !row.blank(kGwPort)) {
        services::NetworkSettings s{doc_.SETIP, doc_.SETMASK, doc_.SETGW, std::to_string(doc_.SETPORT)};
        const std::pair<int, std::string*> fields[] = {
            {kGwIp, &s.ip}, {kGwMask, &s.mask}, {kGwGateway, &s.gateway}, {kGwPort, &s.portText}};
        for (auto [column, field] : fields)
            if (!row.blank(column))
                *field = column == kGwPort ? row.text(column) : addressControlText(row.text(column));
        const auto checked = services::checkNetworkSettings(s, sink);
        if (!checked)
            return false;
        doc_.SETIP = s.ip;
        doc_.SETMASK = s.mask;
        doc_.SETGW = s.gateway;
        doc_.SETPORT = checked->port;
    }

    int mode = -1;
    if (!takeChoice(row, layout, kGwWorkMode, workModeChoices(), mode, sink))
        return false;
    if (mode >= 0)
        services::storeWorkMode(doc_, mode);
    return eipAreas(row, sink) && cdtOptions(row, sink);
}

// The EtherNet/IP port areas through the parameter dialog: first every area
// with numbers ticked and filled (so that numbers kept for an area switched
// off are checked and stored as the dialog stored them once), then the
// boxes as the sheet has them.
bool Importer::eipAreas(const FieldRow& row, RowSink& sink) {
    editing::EipParamsForm numbers = editing::EipParamsForm::load(doc_);
    bool given = false;
    for (int g = 0; g < 12; ++g) {
        const int com = g % 6 + 1;
        const bool control = g >= 6;
        const int start = eipColumn(com, control, 1);
        const int count = eipColumn(com, control, 2);
        given = given || !row.blank(eipColumn(com, control, 0));
        if (row.blank(start) && row.blank(count))
            continue;
        given = true;
        auto& f = numbers.groups[static_cast<std::size_t>(g)];
        numbers.setEnabled(g, true, doc_);
        if (!row.blank(start))
            f.start = row.text(start);
        if (!row.blank(count))
            f.count = row.text(count);
    }
    if (!given)
        return true;
    if (!numbers.apply(doc_, sink))
        return false;
    editing::EipParamsForm boxes = editing::EipParamsForm::load(doc_);
    for (int g = 0; g < 12; ++g)
        boxes.setEnabled(g, row.flag(eipColumn(g % 6 + 1, g >= 6, 0)).value_or(false), doc_);
    return boxes.apply(doc_, sink);
}

bool Importer::cdtOptions(const FieldRow& row, RowSink& sink) {
    const auto& layout = gatewaySheet();
    int given = -1;
    for (int c = kGwCdtBaud; c <= kGwCdtTelesignal && given < 0; ++c)
        if (!row.blank(c))
            given = c;
    if (given < 0)
        return true;
    if (!cdt_) {
        sink.refuse(header(layout, given), kModelHasNoSuchSetting);
        return false;
    }
    editing::CdtOptionsForm f = editing::CdtOptionsForm::load(doc_);
    int baud = -1, parity = -1;
    if (!takeChoice(row, layout, kGwCdtBaud, cdtBaudChoices(), baud, sink) ||
        !takeChoice(row, layout, kGwCdtParity, cdtParityChoices(), parity, sink))
        return false;
    f.baudItem = baud >= 0 ? baud : f.baudItem;
    f.parityItem = parity >= 0 ? parity : f.parityItem;
    const std::pair<int, std::string*> fields[] = {{kGwCdtRemote, &f.remoteStation},
                                                   {kGwCdtStation, &f.gatewayStation},
                                                   {kGwCdtTelemetry, &f.telemetryPeriod},
                                                   {kGwCdtTelesignal, &f.telesignalPeriod}};
    for (auto [column, field] : fields)
        if (!row.blank(column))
            *field = row.text(column);
    return f.apply(doc_, sink);
}

bool Importer::lineRow(const FieldRow& row, RowSink& sink) {
    const auto& layout = linesSheet();
    const std::string& port = row.text(kLnPort);
    if (choiceIndex(port, portChoices()) < 0) {
        sink.refuse(header(layout, kLnPort), sheet::choiceMessage(header(layout, kLnPort), portChoices()));
        return false;
    }
    if (cdt_ && port == "COM1") {
        sink.refuse(header(layout, kLnPort), kCdtLinkLine);
        return false;
    }
    Place place{port, {}, {}, {}};
    int baud = -1, parity = -1, stop = -1;
    if (!takeChoice(row, layout, kLnBaud, baudChoices(), baud, sink, {{"115.2k", 6}}) ||
        !takeChoice(row, layout, kLnParity, parityChoices(), parity, sink) ||
        !takeChoice(row, layout, kLnStop, stopChoices(), stop, sink, {{"1", 0}, {"2", 1}}) ||
        !takeInteger(row, layout, kLnX, -kPlaceLimit, kPlaceLimit, place.x, sink) ||
        !takeInteger(row, layout, kLnY, -kPlaceLimit, kPlaceLimit, place.y, sink) ||
        !takeInteger(row, layout, kLnLength, 0, kPlaceLimit, place.length, sink))
        return false;

    int line = -1;
    bool added = false;
    if (cdt_ && port == "COM2" && unclaimedCom2_ >= 0) {
        // The CDT gateway brings its COM2 along; the row sets it.
        line = unclaimedCom2_;
        unclaimedCom2_ = -1;
    } else {
        const auto outcome = editing::activateCatalogueItem(doc_, port, editing::kComRoot, sink);
        if (outcome.action != editing::CatalogueAction::LineAdded)
            return false;
        line = outcome.line;
        added = true;
    }
    editing::ComPropertiesForm f = editing::openComForm(doc_, line);
    f.baud = baud >= 0 ? baud : f.baud;
    f.check = parity >= 0 ? parity : f.check;
    f.stop = stop >= 0 ? stop : f.stop;
    if (!row.blank(kLnGap))
        f.intervalText = row.text(kLnGap);
    if (editing::acceptComForm(doc_, f, sink) != FormResult::Accepted) {
        if (added)
            doc_.coms.erase(doc_.coms.begin() + line);
        return false;
    }
    places_.push_back(place);
    return true;
}

bool Importer::slaveRow(const FieldRow& row, RowSink& sink) {
    const auto& layout = slavesSheet();
    const std::string& port = row.text(kSlPort);
    const int line = doc_.lineByName(port);
    if (line < 0) {
        sink.refuse(header(layout, kSlPort), kNoSuchLine);
        return false;
    }
    if (cdt_ && port == "COM1") {
        sink.refuse(header(layout, kSlPort), kCdtLinkLine);
        return false;
    }
    // A slave dropped off the drawing could not be seen, moved or deleted
    // there: refused. One past the end of its line is placed, and the line
    // reaches it as it does after a drop (below).
    int control = -1;
    std::optional<int> x, y;
    if (!takeChoice(row, layout, kSlControl, controlChoices(), control, sink) ||
        !takeInteger(row, layout, kSlX, view::kSlaveXMin, view::kSlaveXMax, x, sink) ||
        !takeInteger(row, layout, kSlY, view::kSlaveYMin, view::kSlaveYMax, y, sink))
        return false;

    // The catalogue's Normal Slave on the line, then 从站属性 as it opens for
    // a new slave.
    doc_.selectedItem = doc_.comItem(line);
    if (editing::activateCatalogueItem(doc_, editing::kNormalSlave, editing::kSlaveRoot, sink).action !=
        editing::CatalogueAction::OpenNewSlaveForm)
        return false;
    auto form = editing::openNewSlaveForm(doc_, line, sink);
    if (!form)
        return false;
    const std::pair<int, std::string*> fields[] = {{kSlAddress, &form->addressText},
                                                   {kSlName, &form->nameText},
                                                   {kSlInterval, &form->intervalText},
                                                   {kSlTimeout, &form->timeoutText}};
    for (auto [column, field] : fields)
        if (!row.blank(column))
            *field = row.text(column);
    if (editing::acceptSlaveForm(doc_, *form, sink) != FormResult::Accepted)
        return false;
    const int slave = editing::addSlave(doc_, line, form->result);
    // A new slave keeps its first config word until 从站属性 is confirmed for
    // it, which stores 从站操作使能 alone.
    if (control > 0) {
        auto again = editing::openSlaveForm(doc_, slave);
        again.operationEnable = control == 1;
        if (editing::acceptSlaveForm(doc_, again, sink) != FormResult::Accepted) {
            editing::removeSlave(doc_, slave);
            return false;
        }
    }
    auto& s = doc_.slaves[static_cast<std::size_t>(slave)];
    s.x = x.value_or(s.x);
    s.y = y.value_or(s.y);
    return true;
}

bool Importer::commandRow(const FieldRow& row, RowSink& sink) {
    const auto& layout = commandsSheet();
    const std::string& port = row.text(kCmPort);
    const std::string& address = row.text(kCmSlave);
    int slave = -1;
    for (std::size_t i = 0; i < doc_.slaves.size() && slave < 0; ++i)
        if (doc_.slaves[i].com_name == port && std::to_string(doc_.slaves[i].address) == address)
            slave = static_cast<int>(i);
    if (slave < 0) {
        // The command of a refused line or slave depends on it.
        if (refusedLines_.covers({port}) || refusedSlaves_.covers({port, address}))
            return true;
        sink.refuse(header(layout, kCmSlave), kNoSuchSlave);
        return false;
    }
    int kindIndex = -1;
    if (!takeChoice(row, layout, kCmFunc, functionChoices(), kindIndex, sink))
        return false;
    const model::CommandKind& kind = model::kCommandKinds[static_cast<std::size_t>(kindIndex)];

    // The catalogue's command kind on the slave, then 命令编辑 as it opens;
    // the gateway address is proposed only for a blank cell.
    doc_.selectedItem = doc_.slaveItem(slave);
    const std::string func(kind.func);
    if (editing::activateCatalogueItem(doc_, func, editing::kNormalSlave, sink).action !=
        editing::CatalogueAction::OpenCommandForm)
        return false;
    const bool propose = row.blank(kCmGateway);
    RecordingSink opening;
    auto form = editing::openNewCommandForm(doc_, func, opening, propose);
    if (!form)
        return false;
    if (!opening.messages.empty()) {
        sink.error(opening.messages.front().text);
        return false;
    }
    for (auto [column, shown] :
         {std::pair{kCmEditSend, form->editSendVisible}, {kCmCdtYx, form->cdtYxVisible}})
        if (row.flag(column).value_or(false) && !shown) {
            sink.refuse(header(layout, column), notOffered(header(layout, column)));
            return false;
        }
    const std::pair<int, std::string*> fields[] = {{kCmStart, &form->startText},
                                                   {kCmLength, &form->lengthText},
                                                   {kCmGateway, &form->gatewayText},
                                                   {kCmComment, &form->commentText}};
    for (auto [column, field] : fields)
        if (!row.blank(column))
            *field = row.text(column);
    form->editSend = row.flag(kCmEditSend).value_or(form->editSend);
    form->cdtYx = row.flag(kCmCdtYx).value_or(form->cdtYx);
    if (editing::acceptCommandForm(doc_, *form, sink) != FormResult::Accepted || form->index < 0)
        return false;
    // The download's area check, command by command as a paste runs it.
    if (!model::checkAreas(doc_, sink)) {
        doc_.slaves[static_cast<std::size_t>(slave)].modules.pop_back();
        return false;
    }
    return true;
}

ImportResult Importer::run() {
    auto& report = result_.report;
    const SheetTable gateway = SheetTable::read(book_, gatewaySheet(), report);
    const SheetTable lines = SheetTable::read(book_, linesSheet(), report);
    const SheetTable slaves = SheetTable::read(book_, slavesSheet(), report);
    const SheetTable commands = SheetTable::read(book_, commandsSheet(), report);

    for (const FieldRow& r : lines.refused)
        refusedLines_.add({r.text(kLnPort)});
    for (const FieldRow& r : slaves.refused)
        refusedSlaves_.add({r.text(kSlPort), r.text(kSlAddress)});
    if (gateway.present && gateway.rows.empty() && gateway.refused.empty())
        report.refuse({kGatewaySheet, 0, {}, VT_TEXT("请添加一个主站!")});
    sheet::importRows(gateway, report, [&](const FieldRow& r, RowSink& s) { return gatewayRow(r, s); });
    // Without a gateway nothing else can be placed.
    if (!doc_.hasMaster())
        return finish();

    sheet::importRows(lines, report, [&](const FieldRow& r, RowSink& s) {
        if (lineRow(r, s))
            return true;
        refusedLines_.add({r.text(kLnPort)});
        return false;
    });
    // A CDT project whose COM2 was removed has none.
    if (unclaimedCom2_ >= 0)
        doc_.coms.erase(doc_.coms.begin() + unclaimedCom2_);
    sheet::importRows(slaves, report, [&](const FieldRow& r, RowSink& s) {
        // A slave of a refused line depends on it.
        const bool lineRefused =
            doc_.lineByName(r.text(kSlPort)) < 0 && refusedLines_.covers({r.text(kSlPort)});
        if (!lineRefused && slaveRow(r, s))
            return true;
        refusedSlaves_.add({r.text(kSlPort), r.text(kSlAddress)});
        return lineRefused;
    });
    sheet::importRows(commands, report, [&](const FieldRow& r, RowSink& s) { return commandRow(r, s); });

    // The lines' drawn places last: placing slaves lengthens them. A line
    // that does not reach its slaves is fitted to them as the drawing fits
    // it after a drop.
    for (const Place& p : places_) {
        const int line = doc_.lineByName(p.line);
        auto& c = doc_.coms[static_cast<std::size_t>(line)];
        c.x = p.x.value_or(c.x);
        c.y = p.y.value_or(c.y);
        c.com_length = p.length.value_or(c.com_length);
        if (!view::lineHoldsSlaves(doc_, line))
            view::fitLine(doc_, line);
    }
    return finish();
}

ImportResult Importer::finish() {
    auto& report = result_.report;
    report.sort({kGatewaySheet, kLinesSheet, kSlavesSheet, kCommandsSheet});
    if (report.accepted()) {
        doc_.selectedItem = -1;
        doc_.modified = true;
        result_.project = std::move(doc_);
    }
    return std::move(result_);
}

} // namespace

ImportResult importSheets(const sheet::ReadWorkbook& book, const model::CVantorDoc& fresh) {
    return Importer(book, fresh).run();
}

ImportResult importWorkbook(const std::string& path, const model::CVantorDoc& fresh) {
    return sheet::importFile<model::CVantorDoc>(
        path, [&](const sheet::ReadWorkbook& book) { return importSheets(book, fresh); });
}

} // namespace vantor::workbook
