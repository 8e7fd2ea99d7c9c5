#pragma once
// Creating and editing commands through the command form, the overlap rules
// between commands, and the default slave start address of a new command.
#include "common/MessageSink.h"
#include "editing/CommandForm.h"
#include "editing/CommandSpan.h"
#include "editing/EipSizeCheck.h"
#include "editing/FormResult.h"
#include "model/CVantorDoc.h"
#include "model/CommandKind.h"
#include "text/Shown.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vantor::editing {

// A command whose slave range runs past address 65535 is refused with this.
inline constexpr const char* kSlaveRangeExceeded = VT_TEXT("超限,数据区范围为1-65536");

// The slave start address a new command of `kind` suggests: the end of the
// slave's last command of the same area and direction (reads match reads,
// writes match both writes), else 0.
int defaultStartAddress(const model::CSlave& slave, const model::CommandKind& kind);
// The same over any list of one slave's commands.
int defaultStartAddress(std::span<const CommandSpan> slaveCommands, const model::CommandKind& kind);

// The fixed texts and switches of a command form for a kind (title, the two
// captions by unit, the length locked for single writes, "数变即发" for
// writes only) and the length preset "1". Any form with these fields.
template <typename Form> void setCommandFormTexts(Form& f, const model::CommandKind& kind) {
    f.title = std::string(kind.func);
    f.startLabel = kind.bits() ? VT_TEXT("起始地址(bit)：") : VT_TEXT("起始地址(word)：");
    f.lengthLabel = kind.bits() ? VT_TEXT("长度(bit)：") : VT_TEXT("长度(word)：");
    f.lengthEnabled = kind.readWrite != 2;
    f.editSendVisible = kind.readWrite != 0;
    f.lengthText = "1";
}

// The length message of a kind ("长度请添入1", "长度请添入一个1和2000之间的整数"
// ...), or nothing when `length` fits the kind.
std::optional<std::string> commandLengthError(const model::CommandKind& kind, int length);

// Which program's command form. Both check the start address, the length
// and the gateway address in the same order with the same messages, and
// differ in three points, decided here once:
// - an empty start or gateway field: Vantor counts it as 0 (a later OK
//   takes 0 and the overlap check decides), as its users have always had
//   it; VantorNet refuses it, since it would become address 0 and come back
//   as an overlap the user cannot place;
// - a zero written "00": Vantor refuses it, VantorNet reads it as 0;
// - the first gateway address: Vantor limits it to the area (8191 bits,
//   3999 words, "网关地址超限"); VantorNet leaves it to the overlap checks.
enum class CommandFormRules { Vantor, VantorNet };

struct CommandFields {
    int start = 0;
    int length = 0;
    int gate = 0;
};

// The number fields of a command form of `kind`, checked in order: the
// message of the first that fails, or nothing with `fields` filled.
std::optional<std::string> checkCommandFields(const model::CommandKind& kind, std::string_view startText,
                                              std::string_view lengthText, std::string_view gatewayText,
                                              CommandFormRules rules, CommandFields& fields);

// Overlap check for a command of `kind` on `slave` with slave start S, length
// L and gateway address G: gateway ranges against every command of the area
// in the project ("网关地址区域重叠"), then slave ranges against the slave's
// commands of the same area and direction ("0区读区域重叠" ...). The command
// `skipIndex` of `slave` (the one being edited) is left out; -1 skips none.
bool checkCommandOverlap(const model::CVantorDoc& doc, const model::CommandKind& kind, int slave, int start,
                         int length, int gate, int skipIndex, MessageSink& sink);
// The same two checks over given lists: `projectOthers` every other command
// of the project (gateway ranges), `slaveOthers` the other commands whose
// slave ranges may collide with this one.
bool checkCommandOverlap(std::span<const CommandSpan> projectOthers, std::span<const CommandSpan> slaveOthers,
                         const model::CommandKind& kind, int start, int length, int gate, MessageSink& sink);

// Opens the form for a new command of kind `func` on the selected slave.
// The gateway field holds the proposal; when there is none "没有可用的网关地址"
// is shown and the field stays empty (the form still opens). Empty optional
// without a selected slave or for an unknown kind. With `proposeGateway`
// false the field is left empty and no proposal is made (for a caller that
// fills it itself).
std::optional<CommandForm> openNewCommandForm(const model::CVantorDoc& doc, std::string_view func,
                                              MessageSink& sink, bool proposeGateway = true);

// Opens the form on row `row` of the selected slave's module list. Empty
// optional when the row does not exist or its kind is unknown.
std::optional<CommandForm> openEditCommandForm(const model::CVantorDoc& doc, int row);

// OK on the form: the checks in order, each failure with its message (the
// form stays open); then the new command is appended or the edited one
// changed. In edit mode a failing overlap check restores the command and the
// form's fields to the saved values. For the EtherNet/IP gateway `eipCheck`
// runs after a new command is appended and removes it again on failure.
FormResult acceptCommandForm(model::CVantorDoc& doc, CommandForm& form, MessageSink& sink,
                             const EipSizeCheck& eipCheck = standardEipSizeCheck());

} // namespace vantor::editing
