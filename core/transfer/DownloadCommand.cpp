#include "transfer/DownloadCommand.h"

#include "editing/EipAddressTable.h"
#include "editing/GatewayAddressPacker.h"
#include "model/GatewayCatalogue.h"
#include "text/Shown.h"

namespace vantor::transfer {

namespace {

std::string slaveLabel(const model::CSlave& s) {
    return s.com_name + ":" + std::to_string(s.address);
}

bool confirmEmptySlaves(const model::CVantorDoc& doc, MessageSink& sink) {
    std::string list;
    for (const auto& s : doc.slaves) {
        if (!s.modules.empty())
            continue;
        if (!list.empty())
            list += ",";
        list += slaveLabel(s);
    }
    if (list.empty())
        return true;
    return sink.question(
        VT_TEXT("空从站提示"),
        text::shownFormat(VT_TEXT("存在没有操作的从站,继续下载吗？\n空站地址为: %s"), list.c_str()));
}

bool checkRemoteAddresses(const model::CVantorDoc& doc, MessageSink& sink) {
    if (doc.addType != 1)
        return true;
    for (std::size_t i = 0; i < doc.slaves.size(); ++i)
        for (std::size_t j = i + 1; j < doc.slaves.size(); ++j)
            if (doc.slaves[i].address == doc.slaves[j].address) {
                sink.error(
                    VT_TEXT("错误"),
                    text::shownFormat(VT_TEXT("远端选择方式不能有相同的从站地址 地址相同的从站有%s和%s"),
                                      slaveLabel(doc.slaves[j]).c_str(), slaveLabel(doc.slaves[i]).c_str()));
                return false;
            }
    return true;
}

// The single-port slave record counts the slave's commands in one byte
// (the other layouts in two, which the block size already bounds).
bool checkSlaveCommandCounts(const model::CVantorDoc& doc, MessageSink& sink) {
    if (portLayout(doc.modelName()) != PortLayout::SinglePort)
        return true;
    for (const auto& s : doc.slaves)
        if (s.modules.size() > 255) {
            sink.error(VT_TEXT("错误"), text::shownFormat(VT_TEXT("%s 站地址%d的命令数超过255"),
                                                          s.com_name.c_str(), s.address));
            return false;
        }
    return true;
}

} // namespace

std::optional<ConfigurationBlocks> prepareDownload(model::CVantorDoc& doc, MessageSink& sink) {
    if (!doc.hasMaster()) {
        sink.error(VT_TEXT("错误"), model::kNoGateway);
        return std::nullopt;
    }
    if (!model::checkAreas(doc, sink))
        return std::nullopt;
    editing::packGatewayAddressesIfNeeded(doc);
    if (!confirmEmptySlaves(doc, sink))
        return std::nullopt;
    if (!checkRemoteAddresses(doc, sink))
        return std::nullopt;
    if (!checkSlaveCommandCounts(doc, sink))
        return std::nullopt;

    ConfigurationBlocks blocks;
    blocks.rtu = buildRtuBlock(doc);
    blocks.fieldbus = buildFieldbusBlock(doc);
    if (model::gatewayModel(doc.modelName()).has(model::FeatureEipParams)) {
        blocks.hasEip = true;
        if (!editing::buildEipBlock(doc, sink, blocks.eip))
            return std::nullopt;
    }
    if (blocks.fieldbus.size() > kMaxBlockSize || blocks.eip.size() > kMaxBlockSize) {
        sink.error(VT_TEXT("错误"), VT_TEXT("下载数据量过大，请减少从站个数或从站模块数"));
        return std::nullopt;
    }
    return blocks;
}

} // namespace vantor::transfer
