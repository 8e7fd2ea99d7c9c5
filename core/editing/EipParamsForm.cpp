#include "editing/EipParamsForm.h"

#include "editing/FieldText.h"
#include "model/SlaveRegisters.h"
#include "text/Shown.h"

#include "text/Numbers.h"

#include <algorithm>
#include <optional>

namespace vantor::editing {

namespace {

// Index into the document's 36 values: six groups of six (state enable,
// state start, state count, control enable, control start, control count),
// each for COM1..COM6.
std::size_t valueIndex(int kind, int group) {
    bool control = group >= 6;
    int com = group % 6;
    return static_cast<std::size_t>(((control ? 3 : 0) + kind) * 6 + com);
}

} // namespace

EipGroup eipGroup(const model::CVantorDoc& doc, int group) {
    return EipGroup{doc.eip.at(valueIndex(0, group)) != 0, doc.eip.at(valueIndex(1, group)),
                    doc.eip.at(valueIndex(2, group))};
}

void setEipGroup(model::CVantorDoc& doc, int group, const EipGroup& value) {
    doc.eip.at(valueIndex(0, group)) = value.enabled ? 1 : 0;
    doc.eip.at(valueIndex(1, group)) = value.start;
    doc.eip.at(valueIndex(2, group)) = value.count;
}

std::pair<int, int> eipStartRange(int com) {
    return {model::slaveRegister(com, 1), model::slaveRegister(com, 255)};
}

EipParamsForm EipParamsForm::load(const model::CVantorDoc& doc) {
    EipParamsForm form;
    for (int g = 0; g < 12; ++g) {
        auto& f = form.groups[static_cast<std::size_t>(g)];
        f = Field{};
        if (eipGroup(doc, g).enabled)
            form.setEnabled(g, true, doc);
    }
    return form;
}

void EipParamsForm::setEnabled(int group, bool on, const model::CVantorDoc& doc) {
    auto& f = groups.at(static_cast<std::size_t>(group));
    f.enabled = on;
    f.editable = on;
    if (on) {
        EipGroup stored = eipGroup(doc, group);
        f.start = std::to_string(stored.start);
        f.count = std::to_string(stored.count);
    }
}

bool EipParamsForm::apply(model::CVantorDoc& doc, MessageSink& sink) const {
    std::array<EipGroup, 12> values{};
    for (int g = 0; g < 12; ++g) {
        const auto& f = groups[static_cast<std::size_t>(g)];
        values[static_cast<std::size_t>(g)].enabled = f.enabled;
        if (!f.enabled)
            continue;
        const int com = g % 6 + 1;
        const std::string what = text::shown(g < 6 ? VT_TEXT("状态字") : VT_TEXT("控制字"));
        auto [low, high] = eipStartRange(com);
        auto start = editing::filledDigitsValue(f.start);
        if (!start || *start < low || *start > high) {
            sink.error(VT_TEXT("错误"), text::shownFormat(VT_TEXT("COM%d %s起始地址取值范围%d-%d"), com,
                                                          what.c_str(), low, high));
            return false;
        }
        auto count = editing::filledDigitsValue(f.count);
        if (!count || *count < kEipCountMin || *count > kEipCountMax) {
            sink.error(VT_TEXT("错误"), text::shownFormat(VT_TEXT("COM%d %s长度取值范围%d-%d"), com,
                                                          what.c_str(), kEipCountMin, kEipCountMax));
            return false;
        }
        values[static_cast<std::size_t>(g)].start = static_cast<int>(*start);
        values[static_cast<std::size_t>(g)].count = static_cast<int>(*count);
    }
    for (int g = 0; g < 12; ++g) {
        const auto& v = values[static_cast<std::size_t>(g)];
        if (v.enabled) {
            setEipGroup(doc, g, v);
        } else {
            doc.eip.at(valueIndex(0, g)) = 0;
        }
    }
    doc.modified = true;
    return true;
}

} // namespace vantor::editing
