#pragma once
// Workbooks built by hand for the reader tests: any parts, stored or
// deflated, through libzip; a minimal workbook around one sheet's XML.
#include <zip.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace vantor::testing {

using Parts = std::vector<std::pair<std::string, std::string>>;

inline std::string zipOf(const Parts& parts, bool store = false) {
    zip_error_t err;
    zip_error_init(&err);
    zip_source_t* src = zip_source_buffer_create(nullptr, 0, 0, &err);
    zip_t* z = zip_open_from_source(src, ZIP_TRUNCATE, &err);
    if (!z)
        throw std::runtime_error("zip");
    zip_source_keep(src);
    for (const auto& [name, data] : parts) {
        zip_source_t* s = zip_source_buffer(z, data.data(), data.size(), 0);
        const zip_int64_t i = zip_file_add(z, name.c_str(), s, ZIP_FL_OVERWRITE);
        if (store)
            zip_set_file_compression(z, static_cast<zip_uint64_t>(i), ZIP_CM_STORE, 0);
    }
    if (zip_close(z) != 0)
        throw std::runtime_error("zip close");
    zip_stat_t st;
    zip_source_open(src);
    zip_source_stat(src, &st);
    std::string out(st.size, '\0');
    zip_source_read(src, out.data(), st.size);
    zip_source_close(src);
    zip_source_free(src);
    zip_error_fini(&err);
    return out;
}

inline const char* kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

// A workbook with one sheet "S" whose sheetData holds `rows`; shared strings
// and styles when given (their inner XML).
inline Parts minimalParts(const std::string& rows, const std::string& shared = {},
                          const std::string& styles = {}) {
    const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    std::string rels =
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"" +
        rel + "worksheet\" Target=\"worksheets/sheet1.xml\"/>";
    if (!shared.empty())
        rels += "<Relationship Id=\"rId2\" Type=\"" + rel + "sharedStrings\" Target=\"sharedStrings.xml\"/>";
    if (!styles.empty())
        rels += "<Relationship Id=\"rId3\" Type=\"" + rel + "styles\" Target=\"/xl/styles.xml\"/>";
    rels += "</Relationships>";
    Parts p = {
        {"xl/workbook.xml",
         std::string("<workbook xmlns=\"") + kMainNs + "\" xmlns:r=\"" + rel.substr(0, rel.size() - 1) +
             "\"><sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels", rels},
        {"xl/worksheets/sheet1.xml",
         std::string("<worksheet xmlns=\"") + kMainNs + "\"><sheetData>" + rows + "</sheetData></worksheet>"},
    };
    if (!shared.empty())
        p.push_back(
            {"xl/sharedStrings.xml", std::string("<sst xmlns=\"") + kMainNs + "\">" + shared + "</sst>"});
    if (!styles.empty())
        p.push_back({"xl/styles.xml",
                     std::string("<styleSheet xmlns=\"") + kMainNs + "\">" + styles + "</styleSheet>"});
    return p;
}

} // namespace vantor::testing
