#include "services/FirmwareImage.h"

#include "model/GatewayCatalogue.h"
#include "text/Shown.h"
#include "transfer/CommandFrame.h"

#include <algorithm>
#include <cctype>

namespace vantor::services {

using namespace vantor::transfer;

namespace {
bool hasBinExtension(const std::string& name) {
    if (name.size() < 4)
        return false;
    std::string ext = name.substr(name.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".bin";
}
} // namespace

std::vector<std::string> firmwareFiles(const std::filesystem::path& folder, std::string_view model) {
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    if (ec)
        return names;
    for (const auto& entry : it) {
        if (!entry.is_regular_file(ec))
            continue;
        std::string name = entry.path().filename().string();
        if (hasBinExtension(name) && name.size() >= model.size() && name.compare(0, model.size(), model) == 0)
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string firmwareSearchNote(const std::string& folder, std::string_view model) {
    return text::shownFormat(VT_TEXT("固件文件取自 %s 中的 %s*.bin，也可点击\"浏览...\"选择其他文件"),
                             folder.c_str(), std::string(model).c_str());
}

bool firmwareUpdateOffered(std::string_view model) {
    return model::gatewayModel(model).has(model::FeatureFirmwareOpens);
}

std::optional<FirmwareImage> splitFirmware(ByteView file) {
    if (file.size() < kFirmwareHeaderSize)
        return std::nullopt;
    FirmwareImage fw;
    fw.header.assign(file.begin(), file.begin() + kFirmwareHeaderSize);
    fw.image.assign(file.begin() + kFirmwareHeaderSize, file.end());
    return fw;
}

ByteView firmwareBlockData(const FirmwareImage& fw, std::size_t index) {
    const std::size_t offset = std::min(fw.image.size(), index * kFirmwareBlockSize);
    const std::size_t n = std::min(kFirmwareBlockSize, fw.image.size() - offset);
    return ByteView(fw.image).subspan(offset, n);
}

bool isLastFirmwareBlock(const FirmwareImage& fw, std::size_t index) {
    return fw.image.size() <= (index + 1) * kFirmwareBlockSize;
}

Bytes firmwareBlockFrame(uint32_t sequence, ByteView data) {
    Bytes body;
    body.reserve(4 + data.size());
    putU32(body, sequence);
    body.insert(body.end(), data.begin(), data.end());
    return commandFrame(command::kFirmwareBlock, static_cast<uint32_t>(body.size()), body);
}

Bytes firmwareClosingFrame(uint32_t sequence, ByteView header) {
    Bytes body;
    body.reserve(4 + header.size());
    putU32(body, sequence | kClosingFlag);
    body.insert(body.end(), header.begin(), header.end());
    return commandFrame(command::kFirmwareBlock, 36, body);
}

} // namespace vantor::services
