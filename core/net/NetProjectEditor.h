#pragma once
// The device tree's actions and the view's deletions in VantorNet: every rule
// of assembling a project, without a window. Each function is one user
// action; it changes the document, shows its messages through the sink and
// answers what the window has to do next. Afterwards the window redraws the
// view and refills the module list.
#include "common/MessageSink.h"
#include "editing/CatalogueTree.h"
#include "editing/CommandSpan.h"
#include "net/CVantorNetDoc.h"

#include <string>
#include <string_view>
#include <vector>

namespace vantor::net {

// --- the device tree -----------------------------------------------------
inline constexpr std::string_view kGatewayRoot = "MODBUS RTU Master";
inline constexpr std::string_view kServerRoot = "MODBUS TCP Server";
inline constexpr std::string_view kNormalServer = "Normal Server";

// Both roots with their children, in display order (the eight function
// labels below "Normal Server" in catalogue order).
const std::vector<editing::CatalogueNode>& netCatalogueTree();

enum class NetCatalogueAction {
    Nothing,         // no item of consequence, or a second gateway
    Refused,         // a message was shown; nothing changed
    GatewayAdded,    //
    OpenSlaveForm,   // run the slave dialog in add mode (insert_slave_flag is 1 until it ends)
    OpenCommandForm, // run the command dialog for `function` on the selected slave
};

struct NetCatalogueOutcome {
    NetCatalogueAction action = NetCatalogueAction::Nothing;
    std::string function;
};

// Double-click on the tree item `text` whose parent reads `parent` (empty
// for a root).
NetCatalogueOutcome activateNetCatalogueItem(CVantorNetDoc& doc, std::string_view text,
                                             std::string_view parent, MessageSink& sink);

// --- adding --------------------------------------------------------------

// The gateway `model` at 200, 50 with the model as name and bitmap; nothing
// when the project has one already. Answers whether it was added.
bool addGateway(CVantorNetDoc& doc, const std::string& model);

// What the slave dialog hands over in add mode (times in ms).
struct NewServerValues {
    std::string ipadd;
    int port = 502;
    std::string name = "SLAVE";
    int sendInterval = 50;  // ms
    int replyTimeout = 500; // ms
    std::string picture = "node.bmp";
    bool control = true;
    int unitAddress = 1;
};

// Before a server is added: false (with "最多添加31个站点") at the limit.
bool checkServerCount(const CVantorNetDoc& doc, MessageSink& sink);
// Before a command is added: false (with its message) at 1024 commands.
bool checkNetCommandCount(const CVantorNetDoc& doc, MessageSink& sink);

// Places `server` right of the last one (or near the bus start), grows the
// bus when it would end before the new icon, appends it and selects it.
// Answers its index.
int appendServer(CVantorNetDoc& doc, CSlave server);

// A server from the dialog values with one node for the unit address,
// placed and selected by appendServer. Answers its index.
int addServer(CVantorNetDoc& doc, const NewServerValues& values);

// Appends `command` to node `node` of `slave` (nodes up to it are created
// when missing) and moves the area's next gateway address behind it.
void appendCommand(CVantorNetDoc& doc, int slave, const CModule& command, int node = 0);

// Every command of the project in document order (servers, nodes, lists).
std::vector<editing::CommandSpan> netProjectCommands(const CVantorNetDoc& doc);

// --- deleting ------------------------------------------------------------

// "删除" in the view on the selection: a slave after "确实要删除吗？"
// (caption "删除节点"); the gateway entries without asking. Selection becomes
// 0. Answers whether anything was removed.
bool deleteNetSelection(CVantorNetDoc& doc, MessageSink& sink);

} // namespace vantor::net
