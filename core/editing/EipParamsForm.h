#pragma once
// The EtherNet/IP gateway parameters: per serial port, where the slave state
// words (input) and control words (output) are placed in the assemblies.
// Twelve groups: state words of COM1..COM6, then control words of COM1..COM6,
// each with an enable flag, a start address and a count.
#include "common/MessageSink.h"
#include "model/CVantorDoc.h"

#include <array>
#include <string>
#include <utility>

namespace vantor::editing {

struct EipGroup {
    bool enabled = false;
    int start = 0;
    int count = 0;
};

// Group 0..5: state words of COM1..COM6; 6..11: control words of COM1..COM6.
EipGroup eipGroup(const model::CVantorDoc& doc, int group);
void setEipGroup(model::CVantorDoc& doc, int group, const EipGroup& value);

// Allowed start addresses of a port (com 1..6): 2001-2255 for COM1, each
// further port 256 higher, up to 3281-3535 for COM6.
std::pair<int, int> eipStartRange(int com);
inline constexpr int kEipCountMin = 1;
inline constexpr int kEipCountMax = 255;

// The fields of the parameter form as texts, the way the user edits them.
class EipParamsForm {
public:
    struct Field {
        bool enabled = false;
        bool editable = false; // the two edits follow the enable box
        std::string start;
        std::string count;
    };
    std::array<Field, 12> groups;

    // Opening: enabled groups show their stored start and count; the others
    // are unticked with both edits disabled and empty.
    static EipParamsForm load(const model::CVantorDoc& doc);

    // Ticking a box enables its edits and fills them with the stored values;
    // unticking disables them.
    void setEnabled(int group, bool on, const model::CVantorDoc& doc);

    // OK: checks the enabled groups (state words COM1..COM6, then control
    // words), start before count; the first failure is reported and nothing
    // is stored. On success stores every enable flag, and start and count of
    // the enabled groups.
    bool apply(model::CVantorDoc& doc, MessageSink& sink) const;
};

} // namespace vantor::editing
