#include "net/NetServerCopies.h"

#include "editing/FieldText.h"
#include "editing/GatewayAddressPlanner.h"
#include "model/CommandKind.h"
#include "net/NetCatalogue.h"
#include "net/NetProjectEditor.h"
#include "net/NetServerForm.h"
#include "text/Shown.h"

#include <optional>

namespace vantor::net {
namespace {

// The IP with its last part raised by `by`; nothing when the IP has no
// numeric last part.
std::optional<std::string> steppedIp(const std::string& ip, int by) {
    const auto dot = ip.find_last_of('.');
    if (dot == std::string::npos)
        return std::nullopt;
    const std::string last = ip.substr(dot + 1);
    const auto value = editing::filledDigitsValue(last);
    if (!value)
        return std::nullopt;
    return ip.substr(0, dot + 1) + std::to_string(static_cast<long long>(*value) + by);
}

// Copy k of `original` on `work`; false at the first message.
bool addCopy(CVantorNetDoc& work, const CSlave& original, int k, const editing::CopiesRequest& request,
             CopyStep by, MessageSink& sink) {
    if (!checkServerCount(work, sink))
        return false;
    CSlave copy = original;
    const int offset = k * request.step;
    if (by == CopyStep::Ip) {
        const auto ip = steppedIp(original.ipadd, offset);
        if (!ip || !serverIpValid(*ip)) {
            sink.error(VT_TEXT("错误"), VT_TEXT("IP地址格式错误"));
            return false;
        }
        copy.ipadd = *ip;
    } else {
        for (auto& node : copy.nodes) {
            node.address += offset;
            if (node.address < 1 || node.address > 247) {
                sink.error(VT_TEXT("错误"), VT_TEXT("从站MOD地址添入一个1和247之间的整数"));
                return false;
            }
        }
    }
    const int unit = copy.nodes.empty() ? 0 : copy.nodes.front().address;
    if (auto clash = serverClash(work, copy.ipadd, copy.port, unit, -1)) {
        sink.error(VT_TEXT("错误"), *clash);
        return false;
    }
    for (auto& node : copy.nodes)
        node.modules.clear();
    const int index = appendServer(work, copy);
    for (std::size_t n = 0; n < original.nodes.size(); ++n)
        for (CModule m : original.nodes[n].modules) {
            if (!checkNetCommandCount(work, sink))
                return false;
            const int area = model::areaIndex(m.area_num);
            const int next = area >= 0 ? work.nextGateAddress[static_cast<std::size_t>(area)] : 0;
            m.Gate_Add = editing::proposeGatewayRange(netProjectCommands(work), next, m.area_num, m.Length,
                                                      areaEnd(m.area_num));
            if (m.Gate_Add < 0) {
                sink.error(VT_TEXT("错误"), VT_TEXT("没有可用的网关地址"));
                return false;
            }
            appendCommand(work, index, m, static_cast<int>(n));
        }
    return true;
}

} // namespace

editing::CopiesOutcome makeServerCopies(CVantorNetDoc& doc, int server, const editing::CopiesRequest& request,
                                        CopyStep by, MessageSink& sink) {
    editing::CopiesOutcome out;
    if (server < 0 || server >= static_cast<int>(doc.slaves.size())) {
        sink.error(VT_TEXT("错误"), VT_TEXT("请选择从站"));
        return out;
    }
    // The copies are made on a copy of the project, which replaces it only
    // when all of them were made.
    CVantorNetDoc work = doc;
    const CSlave original = doc.slaves[static_cast<std::size_t>(server)];
    for (int k = 1; k <= request.count; ++k) {
        if (!addCopy(work, original, k, request, by, sink))
            return {};
        out.slaves.push_back(static_cast<int>(work.slaves.size()) - 1);
    }
    doc = std::move(work);
    out.made = true;
    return out;
}

editing::FormResult acceptServerCopiesForm(CVantorNetDoc& doc, int server, const editing::CopiesForm& form,
                                           CopyStep by, MessageSink& sink) {
    const auto request = editing::readCopiesForm(form, sink);
    if (!request || !makeServerCopies(doc, server, *request, by, sink).made)
        return editing::FormResult::StayOpen;
    return editing::FormResult::Accepted;
}

} // namespace vantor::net
