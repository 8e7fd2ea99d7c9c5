// Any bytes as a workbook to import: the reader (zip container, XML parts,
// bounds), then the Vantor import of whatever sheets it gives. A refused
// import builds no project; an accepted one exports again.
#include "sheet/WorkbookReader.h"
#include "workbook/VantorWorkbook.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace vantor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto book = sheet::readWorkbookBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!book.ok) {
        if (book.error.empty())
            __builtin_trap();
        return 0;
    }
    model::CVantorDoc fresh;
    const auto result = workbook::importSheets(book, fresh);
    if (result.accepted() == !result.report.accepted())
        __builtin_trap();
    if (result.accepted())
        (void)workbook::exportSheets(*result.project);
    return 0;
}
