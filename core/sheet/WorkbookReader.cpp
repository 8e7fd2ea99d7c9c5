#include "sheet/WorkbookReader.h"

#include "text/Shown.h"

#include <pugixml.hpp>
#include <zip.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>

namespace vantor::sheet {

namespace {

constexpr int kMaxRowNumber = 1048576;

// Why a workbook is not read goes to the user's eyes only (a message, the
// command-line tool's output), so it is made in the user's language.
std::string sizeText(std::uint64_t bytes) {
    if (bytes >= (1u << 20) && bytes % (1u << 20) == 0)
        return std::to_string(bytes >> 20) + " MB";
    return text::shownFormat(VT_TEXT("%s 字节"), std::to_string(bytes).c_str());
}

std::string damaged(const std::string& part) {
    return text::shownFormat(VT_TEXT("工作簿已损坏: %s"), part.c_str());
}

std::string tooLargeFile(std::uint64_t limit) {
    return text::shownFormat(VT_TEXT("工作簿文件过大(超过%s)"), sizeText(limit).c_str());
}

std::string cannotOpen(const std::string& path) {
    return text::shownFormat(VT_TEXT("无法打开工作簿文件 %s"), path.c_str());
}

std::string_view localName(const char* qualified) {
    std::string_view s = qualified;
    const auto colon = s.find(':');
    return colon == std::string_view::npos ? s : s.substr(colon + 1);
}

pugi::xml_node child(const pugi::xml_node& n, std::string_view local) {
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && localName(c.name()) == local)
            return c;
    return {};
}

template <typename F> void forChildren(const pugi::xml_node& n, std::string_view local, F&& f) {
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && localName(c.name()) == local)
            f(c);
}

// An attribute by its name without namespace prefix ("r:id" is found as "id").
const char* attribute(const pugi::xml_node& n, std::string_view local) {
    for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute())
        if (localName(a.name()) == local)
            return a.value();
    return nullptr;
}

std::optional<long long> wholeNumber(std::string_view s) {
    long long v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    return v;
}

std::optional<double> decimalNumber(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    double v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// A part path relative to the folder of the part that names it; "/x" is
// from the package root.
std::string resolve(const std::string& folder, std::string_view target) {
    std::vector<std::string> parts;
    auto push = [&](std::string_view path) {
        std::size_t at = 0;
        while (at <= path.size()) {
            const auto slash = path.find('/', at);
            const auto piece =
                path.substr(at, slash == std::string_view::npos ? std::string_view::npos : slash - at);
            if (piece == "..") {
                if (!parts.empty())
                    parts.pop_back();
            } else if (!piece.empty() && piece != ".") {
                parts.emplace_back(piece);
            }
            if (slash == std::string_view::npos)
                break;
            at = slash + 1;
        }
    };
    if (target.empty() || target.front() != '/')
        push(folder);
    push(target);
    std::string out;
    for (const auto& p : parts)
        out += (out.empty() ? "" : "/") + p;
    return out;
}

std::string folderOf(const std::string& part) {
    const auto slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash);
}

struct DepthWalker : pugi::xml_tree_walker {
    int limit = 0;
    bool tooDeep = false;
    bool for_each(pugi::xml_node&) override {
        if (depth() >= limit) {
            tooDeep = true;
            return false;
        }
        return true;
    }
};

// One parsed part; the document parses its own copy of the text in place.
struct Part {
    std::string text;
    pugi::xml_document xml;
};

struct ZipCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};

class Reader {
public:
    Reader(const ReadLimits& limits) : limits_(limits) {}

    ReadWorkbook read(std::string_view bytes);

private:
    // Nothing (with error_ set) when the part is missing and `required`,
    // too large, or not well-formed XML; an empty part when it is missing
    // and optional.
    std::unique_ptr<Part> part(const std::string& name, bool required);
    bool inflate(const std::string& name, zip_int64_t index, std::string& out);
    void fail(std::string message) {
        if (error_.empty())
            error_ = std::move(message);
    }
    std::map<std::string, std::pair<std::string, std::string>> relationships(const std::string& source);
    void readSharedStrings(const std::string& name);
    void readStyles(const std::string& name);
    std::optional<ReadSheet> readSheet(const std::string& sheetName, const std::string& name);
    std::string textOf(const pugi::xml_node& holder) const;

    const ReadLimits& limits_;
    std::unique_ptr<zip_t, ZipCloser> zip_;
    std::uint64_t inflated_ = 0;
    std::string error_;
    std::vector<std::string> shared_;
    std::vector<bool> dateStyle_;
};

bool Reader::inflate(const std::string& name, zip_int64_t index, std::string& out) {
    const std::string tooLarge = text::shownFormat(VT_TEXT("工作簿中的 %s 解压后超过 %s"), name.c_str(),
                                                   sizeText(limits_.partBytes).c_str());
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(zip_.get(), static_cast<zip_uint64_t>(index), 0, &st) != 0) {
        fail(damaged(name));
        return false;
    }
    const bool declared = (st.valid & ZIP_STAT_SIZE) != 0;
    if (declared && st.size > limits_.partBytes) {
        fail(tooLarge);
        return false;
    }
    zip_file_t* f = zip_fopen_index(zip_.get(), static_cast<zip_uint64_t>(index), 0);
    if (f == nullptr) {
        fail(damaged(name));
        return false;
    }
    // The declared size may lie: the inflation stops one chunk past the bound.
    out.clear();
    char chunk[64 * 1024];
    bool ok = true;
    for (;;) {
        const zip_int64_t n = zip_fread(f, chunk, sizeof chunk);
        if (n < 0) {
            fail(damaged(name));
            ok = false;
            break;
        }
        if (n == 0)
            break;
        out.append(chunk, static_cast<std::size_t>(n));
        if (out.size() > limits_.partBytes) {
            fail(tooLarge);
            ok = false;
            break;
        }
        if (inflated_ + out.size() > limits_.totalBytes) {
            fail(text::shownFormat(VT_TEXT("工作簿解压后超过 %s"), sizeText(limits_.totalBytes).c_str()));
            ok = false;
            break;
        }
    }
    zip_fclose(f);
    if (ok && declared && out.size() != st.size) {
        fail(damaged(name));
        ok = false;
    }
    if (ok)
        inflated_ += out.size();
    return ok;
}

std::unique_ptr<Part> Reader::part(const std::string& name, bool required) {
    auto p = std::make_unique<Part>();
    const zip_int64_t index = zip_name_locate(zip_.get(), name.c_str(), 0);
    if (index < 0) {
        if (required) {
            fail(text::shownFormat(VT_TEXT("工作簿中没有 %s"), name.c_str()));
            return nullptr;
        }
        return p;
    }
    if (!inflate(name, index, p->text))
        return nullptr;
    // Every element costs memory once parsed: counted before parsing.
    std::size_t opens = 0;
    for (char c : p->text)
        opens += c == '<';
    if (opens > limits_.partElements) {
        fail(text::shownFormat(VT_TEXT("工作簿中的 %s 元素过多(超过%zu个)"), name.c_str(),
                               limits_.partElements));
        return nullptr;
    }
    const pugi::xml_parse_result parsed = p->xml.load_buffer_inplace(
        p->text.data(), p->text.size(), pugi::parse_default | pugi::parse_ws_pcdata_single);
    if (!parsed) {
        fail(text::shownFormat(VT_TEXT("工作簿中的 %s 不是有效的XML: %s (位置 %lld)"), name.c_str(),
                               parsed.description(), static_cast<long long>(parsed.offset)));
        return nullptr;
    }
    DepthWalker walker;
    walker.limit = limits_.depth;
    p->xml.traverse(walker);
    if (walker.tooDeep) {
        fail(text::shownFormat(VT_TEXT("工作簿中的 %s 嵌套过深(超过%d层)"), name.c_str(), limits_.depth));
        return nullptr;
    }
    return p;
}

// Id -> (type, resolved target) of the relationships of part `source`
// ("" for the package itself).
std::map<std::string, std::pair<std::string, std::string>> Reader::relationships(const std::string& source) {
    std::map<std::string, std::pair<std::string, std::string>> out;
    const std::string folder = folderOf(source);
    const std::string base = folder.empty() ? source : source.substr(folder.size() + 1);
    const std::string name = (folder.empty() ? "" : folder + "/") + "_rels/" + base + ".rels";
    auto p = part(name, false);
    if (!p)
        return out;
    forChildren(child(p->xml, "Relationships"), "Relationship", [&](const pugi::xml_node& r) {
        const char* id = attribute(r, "Id");
        const char* target = attribute(r, "Target");
        const char* type = attribute(r, "Type");
        if (id && target)
            out[id] = {type ? type : "", resolve(folder, target)};
    });
    return out;
}

std::string Reader::textOf(const pugi::xml_node& holder) const {
    // Plain text (<t>) or rich-text runs (<r><t>), phonetic runs left out.
    std::string out;
    for (pugi::xml_node c = holder.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element)
            continue;
        const auto local = localName(c.name());
        if (local == "t")
            out += c.text().get();
        else if (local == "r")
            out += child(c, "t").text().get();
    }
    return out;
}

void Reader::readSharedStrings(const std::string& name) {
    auto p = part(name, false);
    if (!p)
        return;
    forChildren(child(p->xml, "sst"), "si", [&](const pugi::xml_node& si) { shared_.push_back(textOf(si)); });
}

void Reader::readStyles(const std::string& name) {
    auto p = part(name, false);
    if (!p)
        return;
    const pugi::xml_node sheet = child(p->xml, "styleSheet");
    std::map<long long, bool> custom;
    forChildren(child(sheet, "numFmts"), "numFmt", [&](const pugi::xml_node& f) {
        const char* id = attribute(f, "numFmtId");
        const char* code = attribute(f, "formatCode");
        if (auto n = id ? wholeNumber(id) : std::nullopt)
            custom[*n] = code && isDateFormat(code);
    });
    forChildren(child(sheet, "cellXfs"), "xf", [&](const pugi::xml_node& xf) {
        const char* id = attribute(xf, "numFmtId");
        const auto n = id ? wholeNumber(id) : std::optional<long long>(0);
        bool date = false;
        if (n) {
            const auto c = custom.find(*n);
            date = c != custom.end() ? c->second : isDateFormatId(static_cast<int>(*n));
        }
        dateStyle_.push_back(date);
    });
}

std::optional<ReadSheet> Reader::readSheet(const std::string& sheetName, const std::string& name) {
    auto p = part(name, true);
    if (!p)
        return std::nullopt;
    ReadSheet sheet{sheetName, {}};
    int previousRow = 0;
    const pugi::xml_node data = child(child(p->xml, "worksheet"), "sheetData");
    for (pugi::xml_node r = data.first_child(); r; r = r.next_sibling()) {
        if (r.type() != pugi::node_element || localName(r.name()) != "row")
            continue;
        ReadRow row;
        if (const char* number = attribute(r, "r")) {
            const auto n = wholeNumber(number);
            if (!n || *n < 1 || *n > kMaxRowNumber) {
                fail(text::shownFormat(VT_TEXT("工作表 %s 的行号无效: %s"), sheetName.c_str(), number));
                return std::nullopt;
            }
            row.number = static_cast<int>(*n);
        } else {
            row.number = previousRow + 1;
        }
        previousRow = row.number;
        int previousColumn = -1;
        forChildren(r, "c", [&](const pugi::xml_node& c) {
            const char* ref = attribute(c, "r");
            const int column = ref ? columnOfReference(ref) : previousColumn + 1;
            previousColumn = column;
            if (column < 0 || column >= limits_.columns)
                return;
            const std::string_view type = attribute(c, "t") ? attribute(c, "t") : "n";
            const pugi::xml_node formula = child(c, "f");
            const pugi::xml_node value = child(c, "v");
            const std::string_view v = value.text().get();
            Cell cell;
            if (formula) {
                cell = {Cell::Kind::Formula, 0, formula.text().get()};
            } else if (type == "s") {
                const auto index = wholeNumber(v);
                if (index && *index >= 0 && *index < static_cast<long long>(shared_.size()))
                    cell = Cell::of(shared_[static_cast<std::size_t>(*index)]);
                else if (value)
                    cell = {Cell::Kind::Error, 0, "#REF!"};
            } else if (type == "inlineStr") {
                cell = Cell::of(textOf(child(c, "is")));
            } else if (type == "str") {
                cell = Cell::of(std::string(v));
            } else if (type == "b") {
                if (value)
                    cell = {Cell::Kind::Boolean, v == "1" || v == "true" ? 1.0 : 0.0, {}};
            } else if (type == "e") {
                cell = {Cell::Kind::Error, 0, std::string(v)};
            } else if (type == "d") {
                if (value)
                    cell = {Cell::Kind::Date, 0, std::string(v)};
            } else if (value) {
                const auto number = decimalNumber(v);
                const char* style = attribute(c, "s");
                const auto s = style ? wholeNumber(style) : std::nullopt;
                const bool date = s && *s >= 0 && *s < static_cast<long long>(dateStyle_.size()) &&
                                  dateStyle_[static_cast<std::size_t>(*s)];
                if (!number)
                    cell = {Cell::Kind::Error, 0, std::string(v)};
                else
                    cell = {date ? Cell::Kind::Date : Cell::Kind::Number, *number, {}};
            }
            if (!cell.empty())
                row.cells.emplace_back(column, std::move(cell));
        });
        if (row.cells.empty())
            continue;
        if (static_cast<int>(sheet.rows.size()) >= limits_.rows) {
            fail(text::shownFormat(VT_TEXT("工作表 %s 超过%d行"), sheetName.c_str(), limits_.rows));
            return std::nullopt;
        }
        sheet.rows.push_back(std::move(row));
    }
    return sheet;
}

ReadWorkbook Reader::read(std::string_view bytes) {
    ReadWorkbook out;
    if (bytes.size() > limits_.fileBytes) {
        out.error = tooLargeFile(limits_.fileBytes);
        return out;
    }
    zip_error_t zerr;
    zip_error_init(&zerr);
    zip_source_t* src = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &zerr);
    zip_t* z = src ? zip_open_from_source(src, ZIP_RDONLY, &zerr) : nullptr;
    if (z == nullptr) {
        if (src)
            zip_source_free(src);
        zip_error_fini(&zerr);
        out.error = text::shown(VT_TEXT("工作簿已损坏或不是.xlsx文件"));
        return out;
    }
    zip_error_fini(&zerr);
    zip_.reset(z);

    std::string workbook = "xl/workbook.xml";
    for (const auto& [id, rel] : relationships(""))
        if (rel.first.ends_with("/officeDocument"))
            workbook = rel.second;
    const auto rels = relationships(workbook);
    for (const auto& [id, rel] : rels) {
        if (rel.first.ends_with("/sharedStrings"))
            readSharedStrings(rel.second);
        else if (rel.first.ends_with("/styles"))
            readStyles(rel.second);
    }
    auto book = error_.empty() ? part(workbook, true) : nullptr;
    if (book) {
        std::vector<std::pair<std::string, std::string>> sheets; // (name, part)
        forChildren(child(child(book->xml, "workbook"), "sheets"), "sheet", [&](const pugi::xml_node& s) {
            const char* name = attribute(s, "name");
            const char* id = attribute(s, "id");
            const auto rel = id ? rels.find(id) : rels.end();
            sheets.emplace_back(name ? name : "", rel != rels.end() ? rel->second.second : "");
        });
        if (static_cast<int>(sheets.size()) > limits_.sheets)
            fail(text::shownFormat(VT_TEXT("工作簿中的工作表过多(超过%d个)"), limits_.sheets));
        for (std::size_t i = 0; i < sheets.size() && error_.empty(); ++i) {
            if (sheets[i].second.empty()) {
                fail(text::shownFormat(VT_TEXT("工作簿中没有工作表 %s 的内容"), sheets[i].first.c_str()));
                break;
            }
            if (auto s = readSheet(sheets[i].first, sheets[i].second))
                out.sheets.push_back(std::move(*s));
        }
    }
    if (!error_.empty()) {
        out.sheets.clear();
        out.error = error_;
        return out;
    }
    out.ok = true;
    return out;
}

} // namespace

const Cell* ReadRow::at(int column) const {
    for (const auto& [c, cell] : cells)
        if (c == column)
            return &cell;
    return nullptr;
}

const ReadSheet* ReadWorkbook::sheet(std::string_view name) const {
    for (const auto& s : sheets)
        if (s.name == name)
            return &s;
    return nullptr;
}

int columnOfReference(std::string_view reference) {
    long long column = 0;
    std::size_t i = 0;
    for (; i < reference.size(); ++i) {
        char ch = reference[i];
        if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
        if (ch < 'A' || ch > 'Z')
            break;
        column = column * 26 + (ch - 'A' + 1);
        if (column > 1 << 20)
            return -1;
    }
    return i == 0 ? -1 : static_cast<int>(column - 1);
}

bool isDateFormatId(int id) {
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
           (id >= 50 && id <= 58);
}

bool isDateFormat(std::string_view code) {
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char ch = code[i];
        if (ch == '"') {
            const auto close = code.find('"', i + 1);
            if (close == std::string_view::npos)
                return false;
            i = close;
        } else if (ch == '\\' || ch == '_' || ch == '*') {
            ++i; // the next character is shown as it stands, or fills
        } else if (ch == '[') {
            const auto close = code.find(']', i + 1);
            if (close == std::string_view::npos)
                return false;
            // [h], [mm], [ss]: elapsed time; colours and conditions are not.
            const auto inside = code.substr(i + 1, close - i - 1);
            if (!inside.empty() && inside.find_first_not_of("hHmMsS") == std::string_view::npos)
                return true;
            i = close;
        } else {
            switch (ch) {
            case 'y':
            case 'Y':
            case 'm':
            case 'M':
            case 'd':
            case 'D':
            case 'h':
            case 'H':
            case 's':
            case 'S':
                return true;
            default:
                break;
            }
        }
    }
    return false;
}

ReadWorkbook readWorkbookBytes(std::string_view bytes, const ReadLimits& limits) {
    return Reader(limits).read(bytes);
}

ReadWorkbook readWorkbook(const std::string& path, const ReadLimits& limits) {
    ReadWorkbook out;
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) {
        out.error = cannotOpen(path);
        return out;
    }
    if (size > limits.fileBytes) {
        out.error = tooLargeFile(limits.fileBytes);
        return out;
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(size))) {
        out.error = cannotOpen(path);
        return out;
    }
    return readWorkbookBytes(bytes, limits);
}

} // namespace vantor::sheet
