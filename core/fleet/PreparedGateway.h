#pragma once
// A plan row made ready to run: its project read (a Vantor .vtc or a
// VantorNet .vncfg), the download checks passed, the blocks built, and what
// the report names of it (the file's checksum, the block sizes). The
// checks' questions (empty slaves, empty servers) are answered Yes, as the
// command-line download answers them, and kept for the report.
#include "fleet/FleetPlan.h"
#include "net/NetCompiler.h"
#include "transfer/ConfigurationImage.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantor::fleet {

enum class ProjectKind { Vantor, VantorNet };

// One block as it goes to the gateway: its command and its bytes.
struct SentBlock {
    int command = 0;
    std::size_t bytes = 0;
    bool operator==(const SentBlock&) const = default;
};

struct PreparedGateway {
    PlanRow row;
    ProjectKind kind = ProjectKind::Vantor;
    std::string model;
    std::string checksum; // CRC-32 of the project file, eight hex digits
    int accessPort = 5032;
    transfer::ConfigurationBlocks blocks; // Vantor
    net::NetImages images;                // VantorNet
    int workMode = 0;                     // VantorNet
    std::vector<SentBlock> sent;
    std::vector<std::string> questions; // asked by the checks, answered Yes
};

// Either the prepared gateway or why the row cannot run.
struct Preparation {
    std::optional<PreparedGateway> gateway;
    std::string refusal;
};

// Reads and checks the row's project. `ethOptionDir` is the folder a new
// Vantor project takes its access IP from (as the program starts one).
Preparation prepareRow(const PlanRow& row, const std::string& ethOptionDir);

// The CRC-32 (IEEE) of `bytes`.
uint32_t crc32(std::string_view bytes);

} // namespace vantor::fleet
