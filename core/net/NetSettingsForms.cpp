#include "net/NetSettingsForms.h"

#include "editing/FieldText.h"
#include "net/NetCatalogue.h"
#include "text/Shown.h"

namespace vantor::net {
namespace {

NetPortFields fieldsOf(const CCom& c) {
    return {c.baud, c.parity, c.stop, std::to_string(c.address)};
}

bool addressValid(const std::string& text) {
    auto v = editing::filledDigitsValue(text);
    return v && *v >= 1 && *v <= 247;
}

// A list without a choice (a stored index off the list shows none) keeps
// the stored index.
void storeIndex(int& field, int chosen, std::size_t listSize) {
    if (chosen >= 0 && static_cast<std::size_t>(chosen) < listSize)
        field = chosen;
}

void store(CCom& c, const NetPortFields& p) {
    storeIndex(c.baud, p.baud, kBaudList.size());
    storeIndex(c.parity, p.parity, kParityList.size());
    storeIndex(c.stop, p.stop, kStopList.size());
    c.address = *editing::filledDigitsValue(p.addressText);
}

} // namespace

NetGatewayForm openGatewayForm(const CVantorNetDoc& doc) {
    return {fieldsOf(doc.com1), fieldsOf(doc.com2), isTwoPortModel(doc.modelName())};
}

editing::FormResult acceptGatewayForm(CVantorNetDoc& doc, const NetGatewayForm& form, MessageSink& sink) {
    // The disabled COM2 controls of a single-port model are neither checked
    // nor stored: the user could not correct them.
    for (const NetPortFields* p : {&form.com1, &form.com2}) {
        if (p == &form.com2 && !form.com2Enabled)
            continue;
        if (!addressValid(p->addressText)) {
            sink.error(VT_TEXT("错误"), VT_TEXT("请输入一个介于 1 和 247 之间的整数。"));
            return editing::FormResult::StayOpen;
        }
    }
    store(doc.com1, form.com1);
    if (form.com2Enabled)
        store(doc.com2, form.com2);
    doc.modified = true;
    return editing::FormResult::Accepted;
}

std::optional<int> openWorkModeForm(const CVantorNetDoc& doc) {
    if (!hasWorkMode(doc.modelName()))
        return std::nullopt;
    return doc.GW_work_mode;
}

void acceptWorkModeForm(CVantorNetDoc& doc, int mode) {
    doc.GW_work_mode = mode == 1 ? 1 : 0;
    doc.modified = true;
}

bool openChangeSendDefaultForm(const CVantorNetDoc& doc) {
    return doc.isDataModifySendEnable == 1;
}

void acceptChangeSendDefaultForm(CVantorNetDoc& doc, bool enabled) {
    doc.isDataModifySendEnable = enabled ? 1 : 0;
    doc.modified = true;
}

} // namespace vantor::net
