#include "services/AccessParams.h"

#include "markup/CXmlDoc.h"
#include "text/Gbk.h"
#include "text/Shown.h"

#include <filesystem>

namespace vantor::services {

std::string ethOptionPath(const std::string& directory) {
    return directory + "/IP/ETHOption.xml";
}

bool writeAccessIp(const std::string& path, const std::string& ip, std::string* error) {
    const std::string gbk = text::toGbkLossy(ip);
    markup::CXmlDoc xml;
    bool updated = xml.Load(path) && xml.FindElem("ETHOption") && xml.IntoElem() && xml.FindElem("ip") &&
                   xml.SetData(gbk);
    if (!updated) {
        xml.SetDoc("<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n");
        xml.AddElem("ETHOption");
        xml.IntoElem();
        xml.AddElem("ip", gbk);
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    }
    if (!xml.Save(path)) {
        if (error)
            *error = xml.GetResult().empty() ? text::shownFormat(VT_TEXT("无法写入%s"), path.c_str())
                                             : text::shownFormat(VT_TEXT("无法写入%s: %s"), path.c_str(),
                                                                 text::fromGbk(xml.GetResult()).c_str());
        return false;
    }
    return true;
}

bool applyAccessIp(model::CVantorDoc& doc, const std::string& ip, const std::string& directory,
                   std::string* error) {
    doc.IP = ip;
    return writeAccessIp(ethOptionPath(directory), ip, error);
}

} // namespace vantor::services
