#pragma once
// The access IP ("访问参数设置"): the address at which the PC reaches the
// gateway. It lives in the project and in IP/ETHOption.xml below the start-up
// directory (root ETHOption, child ip), so that a new project starts with the
// last address used.
#include "model/CVantorDoc.h"

#include <string>

namespace vantor::services {

// "<directory>/IP/ETHOption.xml".
std::string ethOptionPath(const std::string& directory);

// Writes `ip` (UTF-8) as the text of ETHOption/ip in the file, keeping the
// rest of the document. A missing file, or one without the element, is
// written afresh with just that element, so the address is never lost.
// False with a reason in `error` when the file cannot be written.
bool writeAccessIp(const std::string& path, const std::string& ip, std::string* error);

// OK of the dialog: the project's access IP becomes `ip` (the access port
// stays as it is) and the file is updated.
bool applyAccessIp(model::CVantorDoc& doc, const std::string& ip, const std::string& directory,
                   std::string* error);

} // namespace vantor::services
