#include "editing/SlavePropertiesForm.h"

#include "editing/ApplyWhenAccepted.h"
#include "editing/FieldText.h"
#include "text/Gbk.h"
#include "text/Shown.h"

namespace vantor::editing {
namespace {

constexpr std::size_t kNameLimit = 64;

bool inTable(int a) {
    return a >= 0 && a < 256;
}

void setEntry(std::array<int, 256>& table, int a, int value) {
    if (inTable(a))
        table[static_cast<std::size_t>(a)] = value;
}

bool entry(const std::array<int, 256>& table, int a) {
    return inTable(a) && table[static_cast<std::size_t>(a)] != 0;
}

// Whether a slave other than `except` has address `a`.
bool otherSlaveHas(const model::CVantorDoc& doc, int a, int except) {
    for (std::size_t i = 0; i < doc.slaves.size(); ++i)
        if (static_cast<int>(i) != except && doc.slaves[i].address == a)
            return true;
    return false;
}

// The checks of OK in order, each storing its value as it passes.
FormResult acceptSlaveSteps(model::CVantorDoc& doc, SlavePropertiesForm& form, MessageSink& sink);

} // namespace

SlavePropertiesForm openSlaveForm(const model::CVantorDoc& doc, int slave) {
    const model::CSlave& s = doc.slaves.at(static_cast<std::size_t>(slave));
    SlavePropertiesForm f;
    f.slave = slave;
    f.addressText = std::to_string(s.address);
    f.nameText = s.name;
    f.intervalText = std::to_string(s.space * 10);
    f.timeoutText = std::to_string(s.timeout * 10);
    f.operationEnable = (s.control & 0x80) != 0;
    f.keepError = (s.control & 0x40) != 0;
    f.clearError = (s.control & 0x20) != 0;
    f.changeSend = (s.control & 0x02) != 0;
    f.writeStop = (s.control & 0x01) != 0;
    return f;
}

std::optional<SlavePropertiesForm> openNewSlaveForm(model::CVantorDoc& doc, int line, MessageSink& sink) {
    int proposal = doc.proposeSlaveAddress(line);
    if (proposal < 0) {
        sink.error(VT_TEXT("错误"), kNoFreeSlaveAddress);
        return std::nullopt;
    }
    doc.lastProposedSlaveAddress = proposal;
    SlavePropertiesForm f;
    f.newSlave = true;
    f.line = line;
    f.addressText = std::to_string(proposal);
    f.nameText = "SLAVE";
    f.intervalText = std::to_string(doc.sendInterlTime);
    f.timeoutText = std::to_string(doc.repTimeoutTime);
    f.operationEnable = true;
    return f;
}

FormResult acceptSlaveForm(model::CVantorDoc& doc, SlavePropertiesForm& form, MessageSink& sink) {
    return applyWhenAccepted(doc,
                             [&](model::CVantorDoc& work) { return acceptSlaveSteps(work, form, sink); });
}

namespace {

FormResult acceptSlaveSteps(model::CVantorDoc& doc, SlavePropertiesForm& form, MessageSink& sink) {
    model::CSlave* slave = nullptr;
    if (!form.newSlave)
        slave = &doc.slaves.at(static_cast<std::size_t>(form.slave));
    else
        (void)doc.coms.at(static_cast<std::size_t>(form.line));

    // 1. Config word: only the operation-enable box counts.
    const uint8_t control = form.operationEnable ? 0x80 : 0x7F;
    if (slave)
        slave->control = control;
    else
        form.result.control = control;

    // 2. Name, at most 64 GBK bytes.
    auto nameBytes = text::gbkLength(form.nameText);
    if (!nameBytes) {
        sink.error(VT_TEXT("错误"), VT_TEXT("设备名称含有无法保存的字符"));
        return FormResult::StayOpen;
    }
    if (*nameBytes > kNameLimit) {
        sink.error(VT_TEXT("错误"), VT_TEXT("设备名称超过64字符"));
        return FormResult::StayOpen;
    }
    if (slave)
        slave->name = form.nameText;
    else
        form.result.name = form.nameText;

    // 3. Digits only, in field order.
    if (!digitsOnly(form.addressText)) {
        sink.error(VT_TEXT("错误"), VT_TEXT("从站地址有非法字符"));
        return FormResult::StayOpen;
    }
    if (!digitsOnly(form.intervalText)) {
        sink.error(VT_TEXT("错误"), VT_TEXT("报文发送间隔时间有非法字符"));
        return FormResult::StayOpen;
    }
    if (!digitsOnly(form.timeoutText)) {
        sink.error(VT_TEXT("错误"), VT_TEXT("应答超时时间有非法字符"));
        return FormResult::StayOpen;
    }
    // 4.-6. Ranges; the times are stored in 10 ms units as they pass.
    const int v = fieldValue(form.addressText);
    if (v < 1 || v > 247) {
        sink.error(VT_TEXT("错误"), VT_TEXT("地址请添入一个1和247之间的整数"));
        return FormResult::StayOpen;
    }
    const int interval = fieldValue(form.intervalText);
    if (interval > 3000) {
        sink.error(VT_TEXT("错误"), VT_TEXT("报文发送间隔请添入一个0和3000之间的整数"));
        return FormResult::StayOpen;
    }
    if (slave)
        slave->space = interval / 10;
    else
        form.result.space = interval / 10;
    const int timeout = fieldValue(form.timeoutText);
    if (timeout < 100 || timeout > 3000) {
        sink.error(VT_TEXT("错误"), VT_TEXT("应答超时时间请添入一个100和3000之间的整数"));
        return FormResult::StayOpen;
    }
    if (slave)
        slave->timeout = timeout / 10;
    else
        form.result.timeout = timeout / 10;

    // 7. Address occupancy in the table of the addressing mode.
    const int o = slave ? slave->address : doc.lastProposedSlaveAddress;
    const int line = slave ? doc.lineOfSlave(form.slave) : form.line;
    std::array<int, 256>* lineTable = line >= 0 ? &doc.coms[static_cast<std::size_t>(line)].addArea : nullptr;
    const bool remote = doc.addType == 1;
    const bool taken = remote ? entry(doc.slaveAddrFlag, v) : (lineTable && entry(*lineTable, v));
    if (taken && v != o) {
        sink.error(VT_TEXT("错误"), kAddressTaken);
        return FormResult::StayOpen;
    }
    if (remote) {
        setEntry(doc.slaveAddrFlag, o, 0);
        setEntry(doc.slaveAddrFlag, v, 1);
    }
    if (lineTable) {
        setEntry(*lineTable, o, 0);
        setEntry(*lineTable, v, 1);
    }
    if (slave) {
        slave->address = v;
    } else {
        form.result.address = v;
        doc.lastProposedSlaveAddress = v;
    }
    if (!remote) {
        if (!otherSlaveHas(doc, o, slave ? form.slave : -1))
            setEntry(doc.slaveAddrFlag, o, 0);
        setEntry(doc.slaveAddrFlag, v, 1);
    }
    doc.modified = true;
    return FormResult::Accepted;
}

} // namespace

} // namespace vantor::editing
