#pragma once
// The download command ("配置下载"): the checks a project must pass, in
// order, with their messages, and the blocks it then hands to the download
// exchange.
#include "common/MessageSink.h"
#include "model/CVantorDoc.h"
#include "transfer/ConfigurationImage.h"

#include <cstddef>
#include <optional>

namespace vantor::transfer {

// The largest block the chunked frames can describe: the total travels in
// the low two bytes of the length field of every chunk. A larger block would
// reach the gateway with a wrapped total, so it is refused.
inline constexpr std::size_t kMaxBlockSize = 0xFFFF;

// Runs the checks (gateway present, area check, address packing for the
// EtherNet/IP gateway, the empty-slave question, unique addresses in
// remote-slave addressing, at most 255 commands in a slave of the
// single-port models), builds the blocks (with the EtherNet/IP block
// for that gateway) and checks their size. Nothing when a check refused or
// the user answered No; every refusal has been shown through `sink`.
std::optional<ConfigurationBlocks> prepareDownload(model::CVantorDoc& doc, MessageSink& sink);

} // namespace vantor::transfer
