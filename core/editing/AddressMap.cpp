#include "editing/AddressMap.h"

#include "editing/GatewayAddressPacker.h"
#include "editing/SheetWriter.h"
#include "model/CommandKind.h"
#include "model/GatewayCatalogue.h"
#include "text/Numbers.h"
#include "text/Shown.h"

#include <algorithm>

namespace vantor::editing {

using model::CVantorDoc;

std::vector<int> slavesOnPort(const CVantorDoc& doc, int com) {
    const std::string name = "COM" + std::to_string(com);
    std::vector<int> out;
    for (std::size_t i = 0; i < doc.slaves.size(); ++i)
        if (doc.slaves[i].com_name == name)
            out.push_back(static_cast<int>(i));
    std::stable_sort(out.begin(), out.end(), [&](int a, int b) {
        return doc.slaves[static_cast<std::size_t>(a)].address <
               doc.slaves[static_cast<std::size_t>(b)].address;
    });
    return out;
}

std::string zeroFilled(long long v, int width) {
    if (v < 0) {
        std::string digits = std::to_string(-v);
        if (static_cast<int>(digits.size()) + 1 < width)
            digits.insert(0, static_cast<std::size_t>(width) - digits.size() - 1, '0');
        return "-" + digits;
    }
    return text::zeroFill(v, width);
}

long long modbusReferenceValue(int area, int address) {
    long long base = area == 1 ? 10000 : area == 3 ? 30000 : area == 4 ? 40000 : 0;
    return (address > 9999 ? 10 * base : base) + address;
}

std::string modbusReference(int area, int address) {
    return zeroFilled(modbusReferenceValue(area, address), address > 9999 ? 6 : 5);
}

AddressMap buildAddressMap(const CVantorDoc& doc) {
    AddressMap map;
    for (bool reads : {true, false}) {
        for (int com = 1; com <= 6; ++com) {
            for (int s : slavesOnPort(doc, com)) {
                const auto& slave = doc.slaves[static_cast<std::size_t>(s)];
                for (int area : model::kAreas) {
                    auto& list = map.areas[static_cast<std::size_t>(model::areaIndex(area))];
                    for (const model::CModule* m : commandsOfArea(slave, area, reads)) {
                        list.push_back(MapRow{
                            std::to_string(list.size() + 1),
                            modbusReference(area, m->Gate_Add),
                            m->read_wri == 0 ? VT_TEXT("读") : VT_TEXT("写"),
                            zeroFilled(m->Length, 4),
                            slave.com_name,
                            zeroFilled(slave.address, 3),
                            zeroFilled(m->Start_Add, 5),
                        });
                    }
                }
            }
        }
    }
    return map;
}

MapView openAddressMap(CVantorDoc& doc, MessageSink& sink) {
    if (!doc.hasMaster()) {
        sink.error(VT_TEXT("错误"), model::kNoGateway);
        return MapView::Refused;
    }
    packGatewayAddressesIfNeeded(doc);
    if (!model::checkAreas(doc, sink))
        return MapView::Refused;
    if (model::gatewayModel(doc.modelName()).has(model::FeatureCdt))
        return MapView::CdtTable;
    return MapView::GatewayMap;
}

const std::string& mapListTitle(int areaIndex) {
    static const std::array<std::string, 4> titles{"MODBUS   0XXXX", "MODBUS   1XXXX", "MODBUS   3XXXX",
                                                   "MODBUS   4XXXX"};
    return titles.at(static_cast<std::size_t>(areaIndex));
}

std::array<std::string, 7> mapColumnTitles(int areaIndex) {
    return {"",
            VT_TEXT("网关MODBUS地址"),
            VT_TEXT("读/写"),
            areaIndex < 2 ? VT_TEXT("长度(bit)") : VT_TEXT("长度(word)"),
            VT_TEXT("通道"),
            VT_TEXT("从站地址"),
            VT_TEXT("从站数据起始地址")};
}

const std::vector<std::string>& mapExportHeaders() {
    static const std::vector<std::string> headers{
        VT_DATA("序号"), VT_DATA("网关MODBUS地址"), VT_DATA("读/写"),           VT_DATA("长度(bit)"),
        VT_DATA("通道"), VT_DATA("从站地址"),       VT_DATA("从站数据起始地址")};
    return headers;
}

const std::string& mapSheetName(int areaIndex) {
    static const std::array<std::string, 4> names{"Area0", "Area1", "Area3", "Area4"};
    return names.at(static_cast<std::size_t>(areaIndex));
}

bool exportAddressMap(const AddressMap& map, const std::string& path, std::string& errors) {
    errors.clear();
    if (path.empty())
        return false;
    SheetWriter writer(path);
    for (int a = 0; a < 4; ++a) {
        writer.open(mapSheetName(a));
        writer.setHeaders(mapExportHeaders());
        for (const auto& row : map.areas[static_cast<std::size_t>(a)])
            writer.addRow(std::vector<std::string>(row.begin(), row.end()));
        writer.commit();
    }
    bool ok = writer.save();
    errors = writer.errors();
    return ok;
}

} // namespace vantor::editing
