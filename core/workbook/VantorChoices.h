#pragma once
// The lists of choices the Vantor sheets hold as texts: what the export
// writes and the import takes for the model, the addressing mode, the work
// mode, the serial settings, the CDT link and the command kinds.
#include "editing/CdtOptionsForm.h"
#include "editing/ComPropertiesForm.h"
#include "model/CommandKind.h"
#include "model/GatewayCatalogue.h"
#include "services/WorkMode.h"
#include "sheet/RowFields.h"
#include "text/Shown.h"

#include <string>
#include <vector>

namespace vantor::workbook {

inline const std::vector<std::string>& modelChoices() {
    static const std::vector<std::string> v = [] {
        std::vector<std::string> out;
        for (const auto& m : model::gatewayModels())
            out.emplace_back(m.name);
        return out;
    }();
    return v;
}

// 0 data-area addressing, 1 remote-slave addressing, as the drawing names them.
inline const std::vector<std::string>& addressingChoices() {
    static const std::vector<std::string> v{VT_DATA("MODBUS数据区寻址"), VT_DATA("远端从站寻址")};
    return v;
}

inline const std::vector<std::string>& workModeChoices() {
    static const std::vector<std::string> v(services::kWorkModeNames.begin(), services::kWorkModeNames.end());
    return v;
}

// The baud list of the line dialog with 115.2k written out, so every item is
// a number; "115.2k" is taken too.
inline const std::vector<std::string>& baudChoices() {
    static const std::vector<std::string> v{"2400", "4800", "9600", "19200", "38400", "57600", "115200"};
    return v;
}

inline const std::vector<std::string>& parityChoices() {
    static const std::vector<std::string> v(editing::parityTexts().begin(), editing::parityTexts().end());
    return v;
}

inline const std::vector<std::string>& stopChoices() {
    static const std::vector<std::string> v(editing::stopTexts().begin(), editing::stopTexts().end());
    return v;
}

inline const std::vector<std::string>& cdtBaudChoices() {
    static const std::vector<std::string> v(editing::kCdtBaudItems.begin(), editing::kCdtBaudItems.end());
    return v;
}

inline const std::vector<std::string>& cdtParityChoices() {
    static const std::vector<std::string> v(editing::kCdtParityItems.begin(), editing::kCdtParityItems.end());
    return v;
}

inline const std::vector<std::string>& portChoices() {
    static const std::vector<std::string> v{"COM1", "COM2", "COM3", "COM4", "COM5", "COM6"};
    return v;
}

inline const std::vector<std::string>& functionChoices() {
    static const std::vector<std::string> v = [] {
        std::vector<std::string> out;
        for (const auto& k : model::kCommandKinds)
            out.emplace_back(k.func);
        return out;
    }();
    return v;
}

inline const std::vector<std::string>& controlChoices() {
    static const std::vector<std::string> v{"129", "128", "127"};
    return v;
}

// The list lookups every sheet shares.
using sheet::choiceAt;
using sheet::choiceIndex;

} // namespace vantor::workbook
