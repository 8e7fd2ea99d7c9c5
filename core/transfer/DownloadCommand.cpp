#include "transfer/DownloadCommand.h"

#include "editing/EipAddressTable.h"
#include "editing/GatewayAddressPacker.h"
#include "model/GatewayCatalogue.h"

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
    return sink.question("空从站提示", "存在没有操作的从站,继续下载吗？\n空站地址为: " + list);
}

bool checkRemoteAddresses(const model::CVantorDoc& doc, MessageSink& sink) {
    if (doc.addType != 1)
        return true;
    for (std::size_t i = 0; i < doc.slaves.size(); ++i)
        for (std::size_t j = i + 1; j < doc.slaves.size(); ++j)
            if (doc.slaves[i].address == doc.slaves[j].address) {
                sink.error("错误", "远端选择方式不能有相同的从站地址 地址相同的从站有" +
                                       slaveLabel(doc.slaves[j]) + "和" + slaveLabel(doc.slaves[i]));
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
            sink.error("错误", s.com_name + " 站地址" + std::to_string(s.address) + "的命令数超过255");
            return false;
        }
    return true;
}

} // namespace

std::optional<ConfigurationBlocks> prepareDownload(model::CVantorDoc& doc, MessageSink& sink) {
    if (!doc.hasMaster()) {
        sink.error("错误", model::kNoGateway);
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
        sink.error("错误", "下载数据量过大，请减少从站个数或从站模块数");
        return std::nullopt;
    }
    return blocks;
}

} // namespace vantor::transfer
