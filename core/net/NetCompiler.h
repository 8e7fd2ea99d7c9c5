#pragma once
// Compiling a VantorNet project into the two images the gateway stores: the
// RTU interface configuration (image A, command 20) and the fieldbus
// operation configuration (image B, command 21), the checks run before them
// and the empty-server question asked before every download. All integers
// little-endian; a "small word" is a value below 256 in four bytes, a
// "16-bit word" the low and high byte and two zero bytes.
#include "common/MessageSink.h"
#include "net/CVantorNetDoc.h"
#include "transfer/Bytes.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace vantor::net {

// Bytes a command takes in a DP image: words × 2 in areas 3 and 4, bits
// rounded up to whole bytes in areas 0 and 1 (0 for any other area or a
// length below 1).
int dpBytes(const CModule& m);

// The compile checks in order, each failure with its message: a gateway
// must exist; QB-H-NET2.0 keeps each DP image within 244 bytes (tested
// command by command as the sums grow), the others keep every command inside
// its gateway data area; at most 1024 commands; what image B carries in one
// byte (the server count, every unit address 0..255, at most 255 commands in
// one node) and its size in the 16-bit word of every part.
bool checkNetCompile(const CVantorNetDoc& doc, MessageSink& sink);

// Image A: for COM1, then COM2 on the two-port models, five small words
// (MODBUS address, stop-bit index, 8 data bits, parity index, baud index).
transfer::Bytes buildImageA(const CVantorNetDoc& doc);

// The four IP bytes of a dotted text, each part read as a decimal number;
// parts a short or damaged text lacks are 0.
std::array<uint8_t, 4> ipBytes(std::string_view ip);

// The kind word of a command record: 1 read, 2 write, 3 change-triggered
// write, plus 0x20 for the multiple writes 10H and 0FH.
unsigned commandKind(const CModule& m);

// Image B: header, one 28-byte record per node, one 16-byte record per
// command (servers, nodes and commands in order).
transfer::Bytes buildImageB(const CVantorNetDoc& doc);
// Its size, counted without building it.
std::size_t imageBSize(const CVantorNetDoc& doc);

struct NetImages {
    transfer::Bytes a;
    transfer::Bytes b;
};

// "编译": the checks, then both images; nothing when a check refused.
std::optional<NetImages> compileNet(const CVantorNetDoc& doc, MessageSink& sink);

// Servers without a node or whose nodes hold no command, in order.
std::vector<int> emptyServers(const CVantorNetDoc& doc);

// Before every download: with empty servers asks (caption "空从站提示")
// whether to go on, naming their IP texts. True to go on.
bool confirmEmptyServers(const CVantorNetDoc& doc, MessageSink& sink);

// The download requests that carry the images: command 20 with image A, and
// part `index` of image B in command 21 (240 bytes a part, the total size of
// image B in every part's length word).
transfer::Bytes imageAFrame(const transfer::Bytes& imageA);
std::size_t imageBPartCount(const transfer::Bytes& imageB);
transfer::Bytes imageBPart(const transfer::Bytes& imageB, std::size_t index);

} // namespace vantor::net
