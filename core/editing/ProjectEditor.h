#pragma once
// The device catalogue's actions and the graphic view's delete, copy and
// paste: every rule of assembling a project, without a window. Each function
// is one user action; it changes the document, shows its messages through
// the sink and answers what the window has to do next. After any of them the
// window repaints the view and refreshes the module list (selectionView);
// after adding or deleting the gateway it also recomputes menuEnabling.
#include "common/MessageSink.h"
#include "editing/EipSizeCheck.h"
#include "model/CVantorDoc.h"
#include "text/Shown.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vantor::editing {

// The catalogue tree: roots and their children, in display order.
inline constexpr std::string_view kMasterRoot = "MODBUS RTU Master";
inline constexpr std::string_view kComRoot = "COM";
inline constexpr std::string_view kSlaveRoot = "MODBUS RTU Slave";
inline constexpr std::string_view kNormalSlave = "Normal Slave";

enum class CatalogueAction {
    Nothing,          // no catalogue item of consequence was hit
    Refused,          // a message was shown; nothing changed
    GatewayAdded,     // recompute the menu enabling
    LineAdded,        //
    OpenCdtOptions,   // the CDT gateway's COM1: open the CDT options form
    OpenNewSlaveForm, // open the slave form in new-slave mode on `line`
    OpenCommandForm,  // open the command form for kind `kind` on the selected slave
};

struct CatalogueOutcome {
    CatalogueAction action = CatalogueAction::Nothing;
    int line = -1;
    std::string kind;
};

// Double-click on a catalogue item with text `text` whose parent reads
// `parent` (empty for a root).
CatalogueOutcome activateCatalogueItem(model::CVantorDoc& doc, std::string_view text, std::string_view parent,
                                       MessageSink& sink);

// The message of a port a model does not have, and of a port that exists
// already.
std::string portNotAllowedMessage(const std::string& modelName);
std::string portExistsMessage(const std::string& modelName, const std::string& port);

// Add operations (no checks; the catalogue action runs them). Each selects
// what it added and marks the document modified; answers the new index.
int addGateway(model::CVantorDoc& doc, const std::string& modelName);
int addLine(model::CVantorDoc& doc, const std::string& portName);

// What the new-slave form hands over on OK.
struct NewSlaveValues {
    int address = 0;
    int space = 0;   // 10 ms units
    int timeout = 0; // 10 ms units
    std::string name;
    uint8_t control = 0x80; // kept by the form; a new slave starts with 0x81
};
int addSlave(model::CVantorDoc& doc, int line, const NewSlaveValues& values);

// Message when no slave address 1..255 is left on a line.
inline constexpr const char* kNoFreeSlaveAddress = VT_TEXT("没有可用的从站地址");
// Message when a new slave's address is in use on its line (or, in
// remote-slave addressing, anywhere in the project).
inline constexpr const char* kAddressTaken = VT_TEXT("地址已经被占用,请更换另外一个！");

// Delete (32773) of the selected slave, line or gateway after the question
// "确实要删除吗？"; nothing is selected afterwards. Answers whether anything
// was removed. Removed slaves release their address in the line's table and
// in the project-wide table (unless another slave still uses it); the copied
// slave follows the slave array or is forgotten when it is removed.
bool deleteSelection(model::CVantorDoc& doc, MessageSink& sink);

// Removes one slave with its occupancy entries and line count.
void removeSlave(model::CVantorDoc& doc, int slave);

// Copy (32811): remembers the selected slave, or forgets when none.
void copySelection(model::CVantorDoc& doc);

struct PasteOutcome {
    bool pasted = false; // a slave with at least one command was added
    int slave = -1;      // its index
    int commands = 0;    // commands copied
};

// Paste (32812) of the copied slave onto the selected line or the selected
// slave's line: a new slave at the lowest free address with the copied
// slave's commands on fresh gateway ranges. A paste that copies no command
// is taken back.
PasteOutcome paste(model::CVantorDoc& doc, MessageSink& sink,
                   const EipSizeCheck& eipCheck = standardEipSizeCheck());

// What a paste does once the line and the free `address` are found: marks
// the address taken, appends the new slave ("SLAVE", the times of slave
// `source`, config word 0x81) placed on `line`, and copies the source's
// commands onto fresh gateway ranges, each after the command-count, area and
// EtherNet/IP checks (a refused command shows its message and is left out;
// no free gateway range ends the copying). The slave stays even when no
// command was copied.
PasteOutcome appendPastedSlave(model::CVantorDoc& doc, int source, int line, int address, MessageSink& sink,
                               const EipSizeCheck& eipCheck = standardEipSizeCheck());

} // namespace vantor::editing
