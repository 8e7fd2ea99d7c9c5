#include "net/NetServerForm.h"

#include "editing/FieldText.h"
#include "net/NetProjectEditor.h"
#include "services/NetworkParams.h"
#include "text/Gbk.h"
#include "text/Numbers.h"
#include "text/Shown.h"
#include "transfer/GatewayAddress.h"

namespace vantor::net {

using editing::digitsOnly;
using editing::fieldValue;
using editing::FormResult;
using editing::trimmed;

namespace {

// Two IP texts name the same server when they hold the same address:
// "192.168.000.011" is 192.168.0.11. Texts that are no address compare as
// texts.
bool sameIp(std::string_view a, std::string_view b) {
    const auto pa = services::parseDottedIp(trimmed(a));
    const auto pb = services::parseDottedIp(trimmed(b));
    if (pa && pb)
        return *pa == *pb;
    return trimmed(a) == trimmed(b);
}

int firstUnit(const CSlave& s) {
    return s.nodes.empty() ? 0 : s.nodes.front().address;
}

} // namespace

// Digits and dots only, and (what the gateway can take) four parts of
// 0..255: an address control cannot hold anything else, and a fifth part or
// a part above 255 would reach the gateway as another address. The gateway
// connects to this server, so it must be an address a server can have:
// not 0.x.x.x, multicast or broadcast.
bool serverIpValid(std::string_view text) {
    std::string_view ip = text;
    int parts = 0;
    while (true) {
        const auto dot = ip.find('.');
        const std::string_view part = ip.substr(0, dot);
        if (part.empty() || part.size() > 3 || !digitsOnly(part) || fieldValue(part) > 255)
            return false;
        ++parts;
        if (dot == std::string_view::npos)
            break;
        ip.remove_prefix(dot + 1);
    }
    return parts == 4 && transfer::gatewayHostAddress(text);
}

int findServer(const CVantorNetDoc& doc, std::string_view ip, int port, int unit, int skip) {
    for (std::size_t i = 0; i < doc.slaves.size(); ++i) {
        const CSlave& other = doc.slaves[i];
        if (static_cast<int>(i) != skip && sameIp(other.ipadd, ip) && other.port == port &&
            firstUnit(other) == unit)
            return static_cast<int>(i);
    }
    return -1;
}

std::optional<std::string> serverClash(const CVantorNetDoc& doc, std::string_view ip, int port, int unit,
                                       int skip) {
    if (findServer(doc, ip, port, unit, skip) < 0)
        return std::nullopt;
    return text::shownFormat(VT_TEXT("%s:%d MOD:%d 已经存在"), std::string(trimmed(ip)).c_str(), port, unit);
}

NetServerForm openNewServerForm(CVantorNetDoc& doc) {
    doc.insert_slave_flag = 1;
    NetServerForm f;
    f.addMode = true;
    const NewServerValues defaults;
    f.ipText = "192.168.0.1";
    f.portText = std::to_string(defaults.port);
    f.unitText = std::to_string(defaults.unitAddress);
    f.intervalText = std::to_string(defaults.sendInterval);
    f.timeoutText = std::to_string(defaults.replyTimeout);
    f.nameText = defaults.name;
    f.picture = defaults.picture;
    f.control = defaults.control;
    return f;
}

std::optional<NetServerForm> openServerForm(const CVantorNetDoc& doc) {
    const int index = doc.selectedSlave();
    if (index < 0)
        return std::nullopt;
    const CSlave& s = doc.slaves[static_cast<std::size_t>(index)];
    NetServerForm f;
    f.slave = index;
    f.ipText = s.ipadd;
    f.portText = std::to_string(s.port);
    f.unitText = std::to_string(firstUnit(s));
    f.intervalText = std::to_string(s.space * 10);
    f.timeoutText = std::to_string(s.timetip * 10);
    f.nameText = s.name;
    f.picture = s.picture;
    f.control = s.control != 0;
    return f;
}

std::string pictureFileName(std::string_view path) {
    const auto slash = path.find_last_of("\\/");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

FormResult acceptServerForm(CVantorNetDoc& doc, NetServerForm& form, MessageSink& sink) {
    auto refuse = [&](const std::string& message) {
        sink.error(VT_TEXT("错误"), message);
        return FormResult::StayOpen;
    };
    if (!form.addMode && (form.slave < 0 || form.slave >= static_cast<int>(doc.slaves.size())))
        return FormResult::StayOpen;
    if (!serverIpValid(trimmed(form.ipText)))
        return refuse(transfer::kIpFormatWrong);
    if (!digitsOnly(form.unitText))
        return refuse(VT_TEXT("从站MOD地址格式错误"));
    // The gateway cannot connect to port 0; an empty port would be stored
    // as 0.
    if (form.portText.empty() || !digitsOnly(form.portText) || fieldValue(form.portText) == 0)
        return refuse(transfer::kPortFormatWrong);
    if (!digitsOnly(form.intervalText))
        return refuse(VT_TEXT("报文发送间隔格式错误"));
    if (!digitsOnly(form.timeoutText))
        return refuse(VT_TEXT("应答超时时间格式错误"));
    const int port = fieldValue(form.portText);
    const int unit = fieldValue(form.unitText);
    const int interval = fieldValue(form.intervalText);
    const int timeout = fieldValue(form.timeoutText);
    if (port > 65535)
        return refuse(VT_TEXT("端口号添入一个0和65535之间的整数"));
    if (unit < 1 || unit > 247)
        return refuse(VT_TEXT("从站MOD地址添入一个1和247之间的整数"));
    if (interval > 3000)
        return refuse(VT_TEXT("报文发送间隔请添入一个0和3000之间的整数"));
    if (timeout < 10 || timeout > 3000)
        return refuse(VT_TEXT("应答超时时间请添入一个10和3000之间的整数"));
    // Names and pictures are kept in GBK files: refuse what GBK cannot hold.
    if (!text::toGbk(form.nameText) || !text::toGbk(form.picture))
        return refuse(VT_TEXT("设备名称含有无法保存的字符"));

    const std::string ip = trimmed(form.ipText);
    bool unchanged = false;
    if (!form.addMode) {
        const CSlave& s = doc.slaves[static_cast<std::size_t>(form.slave)];
        unchanged = sameIp(s.ipadd, ip) && s.port == port && firstUnit(s) == unit;
    }
    if (!unchanged)
        if (auto clash = serverClash(doc, ip, port, unit, form.addMode ? -1 : form.slave))
            return refuse(*clash);

    if (form.addMode) {
        NewServerValues v;
        v.ipadd = ip;
        v.port = port;
        v.name = form.nameText;
        v.sendInterval = interval;
        v.replyTimeout = timeout;
        v.picture = form.picture;
        v.control = form.control;
        v.unitAddress = unit;
        form.slave = addServer(doc, v);
        return FormResult::Accepted;
    }
    CSlave& s = doc.slaves[static_cast<std::size_t>(form.slave)];
    s.name = form.nameText;
    s.ipadd = ip;
    s.port = port;
    s.timetip = timeout / 10;
    s.space = interval / 10;
    s.picture = form.picture;
    if (s.nodes.empty())
        s.nodes.push_back({});
    s.nodes.front().address = unit;
    s.control = form.control ? 1 : 0;
    doc.modified = true;
    return FormResult::Accepted;
}

void endServerForm(CVantorNetDoc& doc) {
    doc.insert_slave_flag = 0;
}

} // namespace vantor::net
