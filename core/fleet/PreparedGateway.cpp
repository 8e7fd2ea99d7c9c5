#include "fleet/PreparedGateway.h"

#include "common/MessageSink.h"
#include "common/WholeFile.h"
#include "model/CVantorDoc.h"
#include "model/ProjectFile.h"
#include "net/CVantorNetDoc.h"
#include "net/NetDownloadExchange.h"
#include "net/NetProjectFile.h"
#include "services/CommissioningReport.h"
#include "text/Numbers.h"
#include "transfer/CommandFrame.h"
#include "transfer/DownloadCommand.h"

#include <array>
#include <filesystem>

namespace vantor::fleet {
namespace {

// The errors the checks showed; the questions go to the gateway's notes.
std::string refusalOf(const RecordingSink& sink) {
    std::vector<Message> errors;
    for (const auto& m : sink.messages)
        if (m.kind != MessageKind::Question)
            errors.push_back(m);
    return services::messageTexts(errors);
}

void keepQuestions(const RecordingSink& sink, PreparedGateway& gateway) {
    for (const auto& m : sink.messages)
        if (m.kind == MessageKind::Question)
            gateway.questions.push_back(m.text);
}

bool endsWithNocase(const std::string& s, std::string_view tail) {
    if (s.size() < tail.size())
        return false;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        char c = s[s.size() - tail.size() + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
        if (c != tail[i])
            return false;
    }
    return true;
}

} // namespace

uint32_t crc32(std::string_view bytes) {
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char b : bytes)
        crc = table[(crc ^ b) & 0xFFu] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

Preparation prepareRow(const PlanRow& row, const std::string& ethOptionDir) {
    Preparation out;
    std::string bytes;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(row.path, ec) || !readWholeFile(row.path, bytes)) {
        out.refusal = std::string(kProjectMissing) + " " + row.project;
        return out;
    }
    PreparedGateway g;
    g.row = row;
    g.checksum = text::format("%08x", crc32(bytes));
    RecordingSink sink;
    std::string error;
    if (endsWithNocase(row.path, ".vncfg")) {
        g.kind = ProjectKind::VantorNet;
        net::CVantorNetDoc doc;
        if (!net::NetProjectFile::open(doc, row.path, &error)) {
            out.refusal = error;
            return out;
        }
        auto images = net::compileNet(doc, sink);
        if (!images || !net::confirmEmptyServers(doc, sink)) {
            out.refusal = refusalOf(sink);
            return out;
        }
        g.model = doc.modelName();
        g.workMode = doc.GW_work_mode;
        if (!net::skipsRtuConfiguration(g.model, g.workMode))
            g.sent.push_back({static_cast<int>(transfer::command::kRtuConfig), images->a.size()});
        g.sent.push_back({static_cast<int>(transfer::command::kFieldbusConfig), images->b.size()});
        g.images = std::move(*images);
    } else {
        model::CVantorDoc doc;
        doc.NewDocument(ethOptionDir);
        if (!model::ProjectFile::open(doc, row.path, &error)) {
            out.refusal = error;
            return out;
        }
        auto blocks = transfer::prepareDownload(doc, sink);
        if (!blocks) {
            out.refusal = refusalOf(sink);
            return out;
        }
        g.model = doc.modelName();
        g.accessPort = doc.accessPort;
        g.sent.push_back({static_cast<int>(transfer::command::kRtuConfig), blocks->rtu.size()});
        g.sent.push_back({static_cast<int>(transfer::command::kFieldbusConfig), blocks->fieldbus.size()});
        if (blocks->hasEip)
            g.sent.push_back({static_cast<int>(transfer::command::kEipConfig), blocks->eip.size()});
        g.blocks = std::move(*blocks);
    }
    keepQuestions(sink, g);
    out.gateway = std::move(g);
    return out;
}

} // namespace vantor::fleet
