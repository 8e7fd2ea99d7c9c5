#include "editing/CommandEditor.h"

#include "editing/FieldText.h"
#include "editing/GatewayAddressPlanner.h"
#include "model/GatewayCatalogue.h"
#include "text/Gbk.h"
#include "text/Numbers.h"
#include "text/Shown.h"

#include <stdexcept>
#include <string>

namespace vantor::editing {
namespace {

constexpr int kCommentLimit = 256;

bool isWrite(int readWrite) {
    return readWrite == 1 || readWrite == 2;
}

bool sameDirection(const model::CommandKind& kind, int readWrite) {
    return kind.readWrite == 0 ? readWrite == 0 : isWrite(readWrite);
}

const char* slaveOverlapMessage(const model::CommandKind& kind) {
    const bool read = kind.readWrite == 0;
    switch (kind.area) {
    case 0:
        return read ? VT_TEXT("0区读区域重叠") : VT_TEXT("0区写区域重叠");
    case 1:
        return VT_TEXT("1区读区域重叠");
    case 3:
        return VT_TEXT("3区读区域重叠");
    default:
        return read ? VT_TEXT("4区读区域重叠") : VT_TEXT("4区写区域重叠");
    }
}

bool overlaps(long long aStart, long long aLength, long long bStart, long long bLength) {
    return aStart < bStart + bLength && bStart < aStart + aLength;
}

// Fixed texts and switches of the form for a kind.
CommandForm formFor(const model::CVantorDoc& doc, const model::CommandKind& kind) {
    CommandForm f;
    setCommandFormTexts(f, kind);
    f.cdtYxVisible = !kind.bits() && model::gatewayModel(doc.modelName()).has(model::FeatureCdt);
    return f;
}

void showValues(CommandForm& f, const model::CModule& m) {
    f.startText = std::to_string(m.Start_Add);
    f.lengthText = std::to_string(m.Length);
    f.commentText = m.Explain;
    f.gatewayText = std::to_string(m.Gate_Add);
    f.editSend = m.editSend == 1;
    f.cdtYx = m.isCDTYx == 1;
}

void writeValues(model::CModule& m, int start, int length, const std::string& comment, int editSend,
                 int cdtYx, int gate) {
    m.Start_Add = start;
    m.Length = length;
    m.Explain = comment;
    m.editSend = editSend;
    m.isCDTYx = cdtYx;
    m.Gate_Add = gate;
}

} // namespace

int defaultStartAddress(std::span<const CommandSpan> slaveCommands, const model::CommandKind& kind) {
    for (auto it = slaveCommands.rbegin(); it != slaveCommands.rend(); ++it)
        if (it->area == kind.area && sameDirection(kind, it->readWrite))
            return it->start + it->length;
    return 0;
}

int defaultStartAddress(const model::CSlave& slave, const model::CommandKind& kind) {
    return defaultStartAddress(commandSpans(slave.modules), kind);
}

std::optional<std::string> commandLengthError(const model::CommandKind& kind, int length) {
    if (kind.maxLength == 1)
        return length != 1 ? std::optional<std::string>(VT_TEXT("长度请添入1")) : std::nullopt;
    if (length < 1 || length > kind.maxLength)
        return text::shownFormat(VT_TEXT("长度请添入一个1和%d之间的整数"), kind.maxLength);
    return std::nullopt;
}

std::optional<std::string> checkCommandFields(const model::CommandKind& kind, std::string_view startText,
                                              std::string_view lengthText, std::string_view gatewayText,
                                              CommandFormRules rules, CommandFields& fields) {
    const bool vantor = rules == CommandFormRules::Vantor;
    // Digits only; an empty field is 0 where the rules say so. A zero must
    // be written "0" (or left empty) where "00" is refused.
    auto malformed = [vantor](std::string_view text) {
        return !digitsOnly(text) || (!vantor && text.empty());
    };
    auto paddedZero = [vantor](std::string_view text, int value) {
        return vantor && value == 0 && !text.empty() && text != "0";
    };
    if (malformed(startText))
        return VT_TEXT("起始地址格式错误");
    if (!digitsOnly(lengthText))
        return VT_TEXT("长度格式错误");
    fields.start = fieldValue(startText);
    fields.length = fieldValue(lengthText);
    if (paddedZero(startText, fields.start))
        return VT_TEXT("起始地址格式错误");
    if (fields.start > 65535)
        return VT_TEXT("起始地址请添入一个0和65535之间的整数");
    if (paddedZero(lengthText, fields.length))
        return VT_TEXT("长度格式错误");
    if (auto message = commandLengthError(kind, fields.length))
        return message;
    // The slave's data area ends at address 65535: a range running past it
    // would be polled from addresses the slave cannot have.
    if (fields.start + fields.length > 65536)
        return kSlaveRangeExceeded;
    // Only the first gateway address; the end of the range is checked
    // before a download.
    if (malformed(gatewayText))
        return VT_TEXT("网关地址错误");
    fields.gate = fieldValue(gatewayText);
    if (vantor && fields.gate > (kind.bits() ? 8191 : 3999))
        return VT_TEXT("网关地址超限");
    return std::nullopt;
}

bool checkCommandOverlap(std::span<const CommandSpan> projectOthers, std::span<const CommandSpan> slaveOthers,
                         const model::CommandKind& kind, int start, int length, int gate, MessageSink& sink) {
    for (const auto& m : projectOthers)
        if (m.area == kind.area && overlaps(m.gate, m.length, gate, length)) {
            sink.error(VT_TEXT("错误"), VT_TEXT("网关地址区域重叠"));
            return false;
        }
    for (const auto& m : slaveOthers)
        if (overlaps(m.start, m.length, start, length) && m.area == kind.area &&
            sameDirection(kind, m.readWrite)) {
            sink.error(VT_TEXT("错误"), slaveOverlapMessage(kind));
            return false;
        }
    return true;
}

bool checkCommandOverlap(const model::CVantorDoc& doc, const model::CommandKind& kind, int slave, int start,
                         int length, int gate, int skipIndex, MessageSink& sink) {
    std::vector<CommandSpan> others;
    others.reserve(static_cast<std::size_t>(doc.commandCount()));
    for (std::size_t s = 0; s < doc.slaves.size(); ++s) {
        const int skip = static_cast<int>(s) == slave ? skipIndex : -1;
        const auto spans = commandSpans(doc.slaves[s].modules, skip);
        others.insert(others.end(), spans.begin(), spans.end());
    }
    std::vector<CommandSpan> slaveOthers;
    if (slave >= 0 && slave < static_cast<int>(doc.slaves.size()))
        slaveOthers = commandSpans(doc.slaves[static_cast<std::size_t>(slave)].modules, skipIndex);
    return checkCommandOverlap(others, slaveOthers, kind, start, length, gate, sink);
}

std::optional<CommandForm> openNewCommandForm(const model::CVantorDoc& doc, std::string_view func,
                                              MessageSink& sink, bool proposeGateway) {
    const model::CommandKind* kind = model::findCommandKind(func);
    int slave = doc.selectedSlave();
    if (!kind || slave < 0)
        return std::nullopt;
    CommandForm f = formFor(doc, *kind);
    f.slave = slave;
    f.startText = std::to_string(defaultStartAddress(doc.slaves[static_cast<std::size_t>(slave)], *kind));
    f.editSend = kind->readWrite != 0 && doc.editSendDefault == 1;
    if (!proposeGateway)
        return f;
    int next = doc.nextGateAddress[static_cast<std::size_t>(model::areaIndex(kind->area))];
    int proposal = proposeGatewayAddress(doc, next, kind->area);
    if (proposal < 0)
        sink.error(VT_TEXT("错误"), kNoFreeGatewayAddress);
    else
        f.gatewayText = std::to_string(proposal);
    return f;
}

std::optional<CommandForm> openEditCommandForm(const model::CVantorDoc& doc, int row) {
    int slave = doc.selectedSlave();
    if (slave < 0 || row < 0)
        return std::nullopt;
    const auto& modules = doc.slaves[static_cast<std::size_t>(slave)].modules;
    if (row >= static_cast<int>(modules.size()))
        return std::nullopt;
    const model::CModule& m = modules[static_cast<std::size_t>(row)];
    const model::CommandKind* kind = model::findCommandKind(m.Func);
    if (!kind)
        return std::nullopt;
    CommandForm f = formFor(doc, *kind);
    f.editMode = true;
    f.slave = slave;
    f.index = row;
    showValues(f, m);
    f.saved = m;
    return f;
}

FormResult acceptCommandForm(model::CVantorDoc& doc, CommandForm& form, MessageSink& sink,
                             const EipSizeCheck& eipCheck) {
    const model::CommandKind* kind = model::findCommandKind(form.title);
    if (!kind || form.slave < 0 || form.slave >= static_cast<int>(doc.slaves.size()))
        throw std::invalid_argument("command form without a valid kind or slave");
    auto& modules = doc.slaves[static_cast<std::size_t>(form.slave)].modules;
    if (form.editMode && (form.index < 0 || form.index >= static_cast<int>(modules.size())))
        throw std::invalid_argument("command form edits a command that does not exist");

    // 1. Comment, counted in GBK bytes.
    auto commentBytes = text::gbkLength(form.commentText);
    if (!commentBytes) {
        sink.error(VT_TEXT("错误"), VT_TEXT("注释含有无法保存的字符"));
        return FormResult::StayOpen;
    }
    if (*commentBytes > kCommentLimit) {
        sink.error(VT_TEXT("错误"), VT_TEXT("注释最大长度为256个字符"));
        return FormResult::StayOpen;
    }
    // 2.-6. Start address, length, first gateway address.
    CommandFields fields;
    if (auto message = checkCommandFields(*kind, form.startText, form.lengthText, form.gatewayText,
                                          CommandFormRules::Vantor, fields)) {
        sink.error(VT_TEXT("错误"), *message);
        return FormResult::StayOpen;
    }
    const int start = fields.start;
    const int length = fields.length;
    const int gate = fields.gate;
    // 7. New commands are checked before anything changes.
    if (!form.editMode && !checkCommandOverlap(doc, *kind, form.slave, start, length, gate, -1, sink))
        return FormResult::StayOpen;
    // 8. Check boxes.
    const int editSend = form.editSend ? 1 : 0;
    const int cdtYx = form.cdtYx ? 1 : 0;

    if (!form.editMode) {
        // 9. Append; the area's next gateway address follows the new range.
        doc.nextGateAddress[static_cast<std::size_t>(model::areaIndex(kind->area))] = gate + length;
        model::CModule m;
        m.Func = std::string(kind->func);
        m.area_num = kind->area;
        m.read_wri = kind->readWrite;
        writeValues(m, start, length, form.commentText, editSend, cdtYx, gate);
        modules.push_back(m);
        form.index = static_cast<int>(modules.size()) - 1;
        if (!runEipSizeCheck(eipCheck, doc, sink)) {
            modules.pop_back();
            form.index = -1;
        }
        doc.modified = true;
        return FormResult::Accepted;
    }

    // 10. Apply, then check against everything but the command itself;
    // restore the command and the form when it collides.
    model::CModule& m = modules[static_cast<std::size_t>(form.index)];
    writeValues(m, start, length, form.commentText, editSend, cdtYx, gate);
    if (!checkCommandOverlap(doc, *kind, form.slave, start, length, gate, form.index, sink)) {
        const model::CModule& s = form.saved;
        writeValues(m, s.Start_Add, s.Length, s.Explain, s.editSend, s.isCDTYx, s.Gate_Add);
        showValues(form, s);
        return FormResult::StayOpen;
    }
    doc.modified = true;
    return FormResult::Accepted;
}

} // namespace vantor::editing
