// Any bytes as the address files IP/ip.txt and IP/port.txt: read as
// VantorLoad and VantorNet read them at start-up, the gateway address
// proposed from the IP text, and the files written again from what the
// checks accept. The proposal is always a dotted quad; a rewrite keeps the
// files readable.
#include "FuzzScratch.h"
#include "load/LoadRequests.h"
#include "transfer/AddressFiles.h"

#include <filesystem>
#include <fstream>
#include <string>

using namespace vantor;

namespace {
const std::string& dir() {
    static const std::string d = [] {
        std::filesystem::create_directories(vantor::fuzzing::scratchDir() + "/IP");
        return vantor::fuzzing::scratchDir();
    }();
    return d;
}

bool dottedQuad(const std::string& s) {
    int dots = 0;
    for (char c : s) {
        if (c == '.')
            ++dots;
        else if (c < '0' || c > '9')
            return false;
    }
    return dots == 3;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = bytes.find('\x1F');
    const std::string ipText = bytes.substr(0, cut);
    const std::string portText = cut == std::string::npos ? std::string() : bytes.substr(cut + 1);
    std::ofstream(transfer::ipFilePath(dir()), std::ios::binary | std::ios::trunc) << ipText;
    std::ofstream(transfer::portFilePath(dir()), std::ios::binary | std::ios::trunc) << portText;

    const auto texts = transfer::readAddressFiles(dir());
    // Reading stops at a 0xFF byte, the end-of-file mark of old editors, and
    // after the first kMaxAddressFileBytes.
    if (!texts.ip ||
        *texts.ip != ipText.substr(0, ipText.find('\xFF')).substr(0, transfer::kMaxAddressFileBytes))
        std::abort();
    const std::string proposed = load::proposedGatewayIp(*texts.ip);
    if (!dottedQuad(proposed))
        std::abort();

    // What the network checks accept is written back and read again.
    // The default gateway in the proposed address's subnet, as the address
    // rule asks.
    std::string refusal;
    const std::string gateway = proposed.substr(0, proposed.rfind('.')) + ".1";
    auto checked =
        load::checkNetworkTexts(proposed, "255.255.255.0", gateway, texts.port.value_or(""), &refusal);
    if (checked) {
        std::string error;
        if (!transfer::writeAddressFiles(dir(), load::dottedText(checked->ip), checked->port, &error))
            std::abort();
        const auto again = transfer::readAddressFiles(dir());
        if (!again.ip || !dottedQuad(*again.ip) || !again.port)
            std::abort();
    }
    return 0;
}
