#pragma once
// Firmware files and the frames that carry them to the gateway.
//
// A firmware file is a 32-byte header followed by the image. The image goes
// in blocks of 240 bytes (command 3, body = 32-bit sequence number and the
// block's data); the header goes last in the closing frame (command 3, body
// length 36, sequence number with bit 31 set, then the header).
#include "transfer/Bytes.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantor::services {

inline constexpr std::size_t kFirmwareHeaderSize = 32;
inline constexpr std::size_t kFirmwareBlockSize = 240;
inline constexpr uint32_t kClosingFlag = 0x80000000u;

// Names of the ".bin" files in `folder` whose names begin with the model
// name (case-sensitive), sorted by name; empty when the folder is missing.
std::vector<std::string> firmwareFiles(const std::filesystem::path& folder, std::string_view model);

// Where the window looks for firmware files, as told to the user.
std::string firmwareSearchNote(const std::string& folder, std::string_view model);

// Whether the firmware window opens at all for a model.
bool firmwareUpdateOffered(std::string_view model);

struct FirmwareImage {
    transfer::Bytes header; // 32 bytes
    transfer::Bytes image;

    // Full blocks of the image: the progress range.
    int fullBlocks() const { return static_cast<int>(image.size() / kFirmwareBlockSize); }
};

// Splits a file's bytes; nothing when the file is shorter than its header.
std::optional<FirmwareImage> splitFirmware(transfer::ByteView file);

// Block `index` of the image: at most 240 bytes from 240 * index (an empty
// block for an empty image).
transfer::ByteView firmwareBlockData(const FirmwareImage& fw, std::size_t index);
// Whether block `index` is the last one (it holds at most 240 bytes).
bool isLastFirmwareBlock(const FirmwareImage& fw, std::size_t index);

transfer::Bytes firmwareBlockFrame(uint32_t sequence, transfer::ByteView data);
transfer::Bytes firmwareClosingFrame(uint32_t sequence, transfer::ByteView header);

} // namespace vantor::services
