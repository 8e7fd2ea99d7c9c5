#include "editing/AddressingModeForm.h"

#include "text/Shown.h"

#include <string>

namespace vantor::editing {

AddressingModeForm openAddressingModeForm(const model::CVantorDoc& doc) {
    return {doc.addType == 1};
}

FormResult acceptAddressingModeForm(model::CVantorDoc& doc, const AddressingModeForm& form,
                                    MessageSink& sink) {
    if (!form.remote) {
        if (doc.addType != 0)
            doc.modified = true;
        doc.addType = 0;
        return FormResult::Accepted;
    }
    const auto& slaves = doc.slaves;
    for (std::size_t i = 0; i < slaves.size(); ++i)
        for (std::size_t j = 0; j < slaves.size(); ++j) {
            if (i == j || slaves[i].address != slaves[j].address)
                continue;
            sink.error(
                VT_TEXT("错误"),
                text::shownFormat(VT_TEXT("远端选择方式不能有相同的从站地址 地址相同的从站有%s:%d和%s:%d"),
                                  slaves[j].com_name.c_str(), slaves[j].address, slaves[i].com_name.c_str(),
                                  slaves[i].address));
            return FormResult::StayOpen;
        }
    if (doc.addType != 1)
        doc.modified = true;
    doc.addType = 1;
    return FormResult::Accepted;
}

} // namespace vantor::editing
