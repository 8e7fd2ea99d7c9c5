#include "model/ProjectMarkup.h"

namespace vantor::model {

void writeMasterInfo(markup::CXmlDoc& xml, int workMode, const std::vector<CMaster>& masters) {
    xml.AddElem("MasterInfo");
    xml.SetAttrib("GW_work_mode", workMode);
    xml.IntoElem();
    for (const auto& m : masters) {
        xml.AddElem("Master");
        setTextAttrib(xml, "masterName", m.masterName);
        xml.SetAttrib("x", m.x);
        xml.SetAttrib("y", m.y);
        setTextAttrib(xml, "bitmap", m.bitmap);
    }
    xml.OutOfElem();
}

bool readMasterInfo(markup::CXmlDoc& xml, int& workMode, std::vector<CMaster>& masters) {
    if (!xml.FindElem("MasterInfo"))
        return false;
    workMode = numberAttrib(xml, "GW_work_mode");
    xml.IntoElem();
    masters.clear();
    while (xml.FindElem("Master")) {
        CMaster m;
        m.masterName = textAttrib(xml, "masterName");
        m.x = numberAttrib(xml, "x");
        m.y = numberAttrib(xml, "y");
        m.bitmap = textAttrib(xml, "bitmap");
        masters.push_back(std::move(m));
    }
    xml.OutOfElem();
    return true;
}

} // namespace vantor::model
