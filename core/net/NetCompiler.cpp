#include "net/NetCompiler.h"

#include "net/NetCatalogue.h"
#include "text/Numbers.h"
#include "text/Shown.h"
#include "transfer/ConfigurationImage.h"
#include "transfer/DownloadCommand.h"

namespace vantor::net {

using transfer::Bytes;

namespace {

void putSmall(Bytes& b, int v) {
    transfer::putU32(b, static_cast<uint32_t>(v) & 0xFF);
}

void putWord16(Bytes& b, int v) {
    transfer::putU32(b, static_cast<uint32_t>(v) & 0xFFFF);
}

void putPort(Bytes& b, const CCom& c) {
    putSmall(b, c.address);
    putSmall(b, c.stop);
    putSmall(b, 8);
    putSmall(b, c.parity);
    putSmall(b, c.baud);
}

bool checkDpImages(const CVantorNetDoc& doc, MessageSink& sink) {
    int input = 0;
    int output = 0;
    for (const auto& s : doc.slaves)
        for (const auto& node : s.nodes)
            for (const auto& m : node.modules) {
                (m.read_wri == 0 ? input : output) += dpBytes(m);
                if (input > kDpImageLimit) {
                    sink.error(VT_TEXT("错误"), VT_TEXT("PB输入最大244BYTE"));
                    return false;
                }
                if (output > kDpImageLimit) {
                    sink.error(VT_TEXT("错误"), VT_TEXT("PB输出最大244BYTE"));
                    return false;
                }
            }
    return true;
}

bool checkAreas(const CVantorNetDoc& doc, MessageSink& sink) {
    for (const auto& s : doc.slaves)
        for (const auto& node : s.nodes)
            for (const auto& m : node.modules) {
                const int end = areaEnd(m.area_num);
                if (end > 0 && static_cast<long long>(m.Gate_Add) + m.Length > end) {
                    sink.error(VT_TEXT("错误"),
                               VT_TEXT("网关数据区访问超限 0区8192,1区8192,3区2000,4区2000"));
                    return false;
                }
            }
    return true;
}

void putNodeRecord(Bytes& b, const CSlave& s, const CNode& node) {
    for (uint8_t part : ipBytes(s.ipadd))
        b.push_back(part);
    putWord16(b, s.port);
    putSmall(b, node.address);
    putSmall(b, s.control);
    putSmall(b, static_cast<int>(node.modules.size()));
    putWord16(b, s.space * 10);
    putWord16(b, s.timetip * 10);
}

void putCommandRecord(Bytes& b, const CModule& m) {
    const unsigned area = static_cast<unsigned>(m.area_num) & 0xFF;
    transfer::putU32(b, commandKind(m));
    transfer::putU16(b, static_cast<unsigned>(m.Start_Add) & 0xFFFF);
    transfer::putU8(b, area);
    transfer::putU8(b, 0);
    transfer::putU16(b, static_cast<unsigned>(m.Gate_Add) & 0xFFFF);
    transfer::putU8(b, area);
    transfer::putU8(b, 0);
    putWord16(b, m.Length);
}

} // namespace

int dpBytes(const CModule& m) {
    if (m.Length < 1)
        return 0;
    switch (m.area_num) {
    case 3:
    case 4:
        return m.Length * 2;
    case 0:
    case 1:
        return (m.Length + 7) / 8;
    default:
        return 0;
    }
}

bool checkNetCompile(const CVantorNetDoc& doc, MessageSink& sink) {
    if (!doc.hasMaster()) {
        sink.error(VT_TEXT("错误"), model::kNoGateway);
        return false;
    }
    if (isProfibusModel(doc.modelName()) ? !checkDpImages(doc, sink) : !checkAreas(doc, sink))
        return false;
    if (doc.commandCount() > kMaxCommands) {
        sink.error(VT_TEXT("错误"), VT_TEXT("模块数超范围，最大模块数为1024"));
        return false;
    }
    // The slave count, every unit address and every node's command count go
    // out in one byte, the size of image B in the 16-bit word of every part:
    // a value beyond its field would reach the gateway wrapped and misplace
    // the records after it. Only an edited file holds such values.
    if (doc.slaves.size() > kMaxServersInImage) {
        sink.error(VT_TEXT("错误"), text::shownFormat(VT_TEXT("从站数%zu超过255"), doc.slaves.size()));
        return false;
    }
    for (const auto& s : doc.slaves)
        for (const auto& node : s.nodes) {
            if (node.address < 0 || node.address > 255) {
                sink.error(VT_TEXT("错误"),
                           text::shownFormat(VT_TEXT("%s 站地址%d超出0~255"), s.ipadd.c_str(), node.address));
                return false;
            }
            if (node.modules.size() > kMaxNodeCommands) {
                sink.error(VT_TEXT("错误"), text::shownFormat(VT_TEXT("%s 站地址%d的命令数超过255"),
                                                              s.ipadd.c_str(), node.address));
                return false;
            }
        }
    if (imageBSize(doc) > transfer::kMaxBlockSize) {
        sink.error(VT_TEXT("错误"), VT_TEXT("下载数据量过大，请减少从站个数或从站模块数"));
        return false;
    }
    return true;
}

Bytes buildImageA(const CVantorNetDoc& doc) {
    Bytes b;
    putPort(b, doc.com1);
    if (isTwoPortModel(doc.modelName()))
        putPort(b, doc.com2);
    return b;
}

std::array<uint8_t, 4> ipBytes(std::string_view ip) {
    std::array<uint8_t, 4> out{};
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto dot = ip.find('.');
        out[i] = static_cast<uint8_t>(text::readDecimal(ip.substr(0, dot)) & 0xFF);
        if (dot == std::string_view::npos)
            break;
        ip.remove_prefix(dot + 1);
    }
    return out;
}

unsigned commandKind(const CModule& m) {
    unsigned kind = 1;
    if (m.read_wri != 0)
        kind = m.editSend == 1 ? 3 : 2;
    if (m.Func == VT_DATA("写4区 10H 写多字") || m.Func == VT_DATA("写0区 0FH 写多线圈"))
        kind += 0x20;
    return kind;
}

Bytes buildImageB(const CVantorNetDoc& doc) {
    const bool twoPorts = isTwoPortModel(doc.modelName());
    Bytes b;
    putSmall(b, doc.GW_work_mode == 1 ? 6 : 2);
    putSmall(b, 1);
    putSmall(b, static_cast<int>(doc.slaves.size()));
    if (twoPorts)
        transfer::putU32(b, 0);
    putWord16(b, doc.commandCount());
    if (twoPorts)
        transfer::putU32(b, 0);
    for (const auto& s : doc.slaves)
        for (const auto& node : s.nodes)
            putNodeRecord(b, s, node);
    for (const auto& s : doc.slaves)
        for (const auto& node : s.nodes)
            for (const auto& m : node.modules)
                putCommandRecord(b, m);
    return b;
}

std::size_t imageBSize(const CVantorNetDoc& doc) {
    constexpr std::size_t kHeader = 16, kSpacers = 8, kNode = 28, kCommand = 16;
    std::size_t size = kHeader + (isTwoPortModel(doc.modelName()) ? kSpacers : 0);
    for (const auto& s : doc.slaves)
        size += kNode * s.nodes.size() + kCommand * static_cast<std::size_t>(s.commandCount());
    return size;
}

std::optional<NetImages> compileNet(const CVantorNetDoc& doc, MessageSink& sink) {
    if (!checkNetCompile(doc, sink))
        return std::nullopt;
    return NetImages{buildImageA(doc), buildImageB(doc)};
}

std::vector<int> emptyServers(const CVantorNetDoc& doc) {
    std::vector<int> out;
    for (std::size_t i = 0; i < doc.slaves.size(); ++i)
        if (doc.slaves[i].commandCount() == 0)
            out.push_back(static_cast<int>(i));
    return out;
}

bool confirmEmptyServers(const CVantorNetDoc& doc, MessageSink& sink) {
    const auto empty = emptyServers(doc);
    if (empty.empty())
        return true;
    std::string list;
    for (std::size_t i = 0; i < empty.size(); ++i) {
        if (i)
            list += ",";
        list += doc.slaves[static_cast<std::size_t>(empty[i])].ipadd;
    }
    return sink.question(
        VT_TEXT("空从站提示"),
        text::shownFormat(VT_TEXT("存在没有操作的从站,继续下载吗？\n空站地址为: %s"), list.c_str()));
}

Bytes imageAFrame(const Bytes& imageA) {
    return transfer::rtuFrame(imageA);
}

std::size_t imageBPartCount(const Bytes& imageB) {
    return transfer::chunkCount(imageB.size());
}

Bytes imageBPart(const Bytes& imageB, std::size_t index) {
    return transfer::chunkFrame(21, imageB, index);
}

} // namespace vantor::net
