#include "markup/CXmlDoc.h"

#include "common/AtomicFile.h"

#include "text/Gbk.h"
#include "text/Numbers.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <strings.h>
#include <unordered_map>

namespace vantor::markup {
namespace {

constexpr std::size_t npos = std::string_view::npos;

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// First character of a tag name: ':', '_', 'A'..'Z', 'a'..0x7F, or any byte
// from 0x80 (a GBK lead byte).
bool isNameStart(char ch) {
    auto c = static_cast<unsigned char>(ch);
    return c == ':' || c == '_' || (c >= 'A' && c <= 'Z') || c >= 'a';
}

bool endsElementName(char c) {
    return isSpace(c) || c == '/' || c == '>';
}

// Names we write ourselves must survive being read back: no delimiters.
bool isWritableName(std::string_view name, bool element) {
    if (name.empty() || (element && !isNameStart(name[0])))
        return false;
    for (char c : name)
        if (isSpace(c) || c == '/' || c == '>' || c == '<' || c == '=' || c == '"' || c == '\'' || c == '&')
            return false;
    return true;
}

std::uint32_t hashName(std::string_view s) {
    std::uint32_t h = 2166136261u;
    for (char c : s)
        h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
}

// Scans the start tag whose '<' is at `p`: the element name, then attributes
// (a name running up to '=', whitespace or the end of the tag, optionally '='
// and a value, quoted or bare). A quoted value is skipped whole, so '>' and
// '/' inside it do not end the tag. GBK trail bytes are 0x40 and above and so
// can never be taken for a quote, '=', '>' or '/'. `visit` gets offsets of
// each attribute. Answers the offset of the closing '>' or npos when the text
// ends first; `emptyTag` tells whether the tag ended with "/>".
template <class Visit>
std::size_t scanStartTag(std::string_view d, std::size_t p, std::size_t& nameLength, bool& emptyTag,
                         Visit&& visit) {
    const std::size_t n = d.size();
    std::size_t i = p + 1;
    while (i < n && !endsElementName(d[i]))
        ++i;
    nameLength = i - p - 1;
    for (;;) {
        while (i < n && isSpace(d[i]))
            ++i;
        if (i >= n)
            return npos;
        if (d[i] == '>') {
            emptyTag = false;
            return i;
        }
        if (d[i] == '/') {
            if (i + 1 >= n)
                return npos;
            if (d[i + 1] == '>') {
                emptyTag = true;
                return i + 1;
            }
            ++i;
            continue;
        }
        const std::size_t nameStart = i;
        while (i < n && !isSpace(d[i]) && d[i] != '=' && d[i] != '>' &&
               !(d[i] == '/' && i + 1 < n && d[i + 1] == '>'))
            ++i;
        const std::size_t nameEnd = i;
        while (i < n && isSpace(d[i]))
            ++i;
        if (i < n && d[i] == '=') {
            ++i;
            while (i < n && isSpace(d[i]))
                ++i;
            if (i >= n)
                return npos;
            std::size_t fieldStart = i, valueStart, valueEnd;
            if (d[i] == '"' || d[i] == '\'') {
                const void* close = std::memchr(d.data() + i + 1, d[i], n - i - 1);
                if (close == nullptr)
                    return npos;
                valueStart = i + 1;
                valueEnd = static_cast<std::size_t>(static_cast<const char*>(close) - d.data());
                i = valueEnd + 1;
            } else {
                valueStart = i;
                while (i < n && !isSpace(d[i]) && d[i] != '>' &&
                       !(d[i] == '/' && i + 1 < n && d[i + 1] == '>'))
                    ++i;
                valueEnd = i;
            }
            visit(nameStart, nameEnd, true, fieldStart, i, valueStart, valueEnd);
        } else {
            visit(nameStart, nameEnd, false, nameEnd, nameEnd, nameEnd, nameEnd);
        }
    }
}

struct NoVisit {
    void operator()(std::size_t, std::size_t, bool, std::size_t, std::size_t, std::size_t,
                    std::size_t) const {}
};

// The end of a document type declaration starting after "<!DOCTYPE": the
// first '>' outside quotes and outside an internal subset in brackets.
std::size_t findDoctypeEnd(std::string_view d, std::size_t i) {
    int depth = 0;
    char quote = 0;
    for (; i < d.size(); ++i) {
        char c = d[i];
        if (quote != 0) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '[') {
            ++depth;
        } else if (c == ']') {
            if (depth > 0)
                --depth;
        } else if (c == '>' && depth == 0) {
            return i;
        }
    }
    return npos;
}

// Named and numeric character references give their character (numeric ones
// in GBK); the ';' of a numeric reference must come within six characters of
// "&#", otherwise, like every other unknown '&', it stays as it stands.
std::string unescape(std::string_view raw) {
    std::size_t amp = raw.find('&');
    if (amp == npos)
        return std::string(raw);
    static constexpr struct {
        std::string_view ref;
        char ch;
    } named[] = {{"&lt;", '<'}, {"&amp;", '&'}, {"&gt;", '>'}, {"&apos;", '\''}, {"&quot;", '"'}};
    std::string out;
    out.reserve(raw.size());
    std::size_t i = 0;
    while (amp != npos) {
        out.append(raw, i, amp - i);
        std::string_view rest = raw.substr(amp);
        std::size_t used = 0;
        for (const auto& entry : named) {
            if (rest.starts_with(entry.ref)) {
                out += entry.ch;
                used = entry.ref.size();
                break;
            }
        }
        if (used == 0 && rest.size() > 2 && rest[1] == '#') {
            const bool hex = rest[2] == 'x';
            const int base = hex ? 16 : 10;
            std::size_t j = hex ? 3 : 2;
            unsigned long value = 0;
            std::size_t digits = 0;
            for (; j < rest.size() && j < 8; ++j) {
                int v = text::hexDigitValue(rest[j]);
                if (v < 0 || v >= base)
                    break;
                value = value * static_cast<unsigned long>(base) + static_cast<unsigned long>(v);
                ++digits;
            }
            if (digits > 0 && j < rest.size() && j < 8 && rest[j] == ';') {
                out += text::codePointToGbk(value);
                used = j + 1;
            }
        }
        if (used == 0) {
            out += '&';
            used = 1;
        }
        i = amp + used;
        amp = raw.find('&', i);
    }
    out.append(raw, i, npos);
    return out;
}

std::string escape(std::string_view s, bool attribute) {
    std::string out;
    out.reserve(s.size() + 8);
    for (char c : s) {
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '\'':
            if (attribute)
                out += "&apos;";
            else
                out += c;
            break;
        case '"':
            if (attribute)
                out += "&quot;";
            else
                out += c;
            break;
        default:
            out += c;
        }
    }
    return out;
}

// The value of the encoding attribute of the leading "<?...?>", empty when
// there is none.
std::string_view declaredEncoding(std::string_view d) {
    std::size_t i = d.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    while (i < d.size() && isSpace(d[i]))
        ++i;
    if (d.substr(i, 2) != "<?")
        return {};
    std::size_t end = d.find("?>", i);
    std::string_view decl = d.substr(i, end == npos ? npos : end - i);
    std::size_t k = decl.find("encoding");
    if (k == npos)
        return {};
    k += 8;
    while (k < decl.size() && isSpace(decl[k]))
        ++k;
    if (k >= decl.size() || decl[k] != '=')
        return {};
    ++k;
    while (k < decl.size() && isSpace(decl[k]))
        ++k;
    if (k >= decl.size())
        return {};
    if (decl[k] == '"' || decl[k] == '\'') {
        std::size_t close = decl.find(decl[k], k + 1);
        return decl.substr(k + 1, close == npos ? npos : close - k - 1);
    }
    std::size_t e = k;
    while (e < decl.size() && !isSpace(decl[e]) && decl[e] != '?')
        ++e;
    return decl.substr(k, e - k);
}

// What replaces the "/>" at `slash` when an empty element gets content: ">",
// or " >" when a '/' stands before it and would otherwise make "/>" again.
std::string_view startTagClose(std::string_view d, std::size_t slash) {
    return slash > 0 && d[slash - 1] == '/' ? " >" : ">";
}

bool isUtf8File(std::string_view encoding) {
    return encoding.empty() || (encoding.size() >= 5 && strncasecmp(encoding.data(), "UTF-8", 5) == 0);
}

std::string systemError(int error) {
    std::string s = std::strerror(error);
    return s.substr(0, s.find('\n'));
}

} // namespace

CXmlDoc::CXmlDoc() {
    elements_.emplace_back();
}

void CXmlDoc::addMessage(const std::string& message) {
    if (!result_.empty())
        result_ += ", ";
    result_ += message;
}

std::string_view CXmlDoc::nameOf(std::size_t element) const {
    const Element& e = elements_[element];
    return std::string_view(doc_).substr(e.start + 1, e.nameLength);
}

bool CXmlDoc::SetDoc(std::string_view text) {
    doc_.assign(text);
    parse();
    std::size_t roots = 0;
    for (std::size_t e = elements_[0].firstChild; e != 0; e = elements_[e].next)
        ++roots;
    return result_.empty() && roots == 1;
}

// One pass over the text. Whatever goes wrong is noted and scanning goes on
// where it sensibly can; a construct that runs to the end of the text ends
// the scan, and every element still open is closed at the end.
void CXmlDoc::parse() {
    elements_.clear();
    elements_.emplace_back();
    elements_[0].length = doc_.size();
    result_.clear();
    parentPos_ = currentPos_ = childPos_ = 0;
    attributeOwner_ = 0;
    attributes_.clear();

    const std::string_view d = doc_;
    const std::size_t n = d.size();
    std::vector<std::size_t> open{0};
    // How many elements of each name are open, so that an end tag matching
    // none of them is known at once instead of by a walk down the stack.
    // Counted only from the first end tag that does not close the innermost
    // element; a well-formed document never pays for it.
    std::unordered_map<std::string_view, std::size_t> openNames;
    bool countingNames = false;
    auto pushOpen = [&](std::size_t element) {
        open.push_back(element);
        if (countingNames)
            ++openNames[nameOf(element)];
    };
    auto popOpen = [&] {
        if (countingNames) {
            auto it = openNames.find(nameOf(open.back()));
            if (--it->second == 0)
                openNames.erase(it);
        }
        open.pop_back();
    };
    std::size_t roots = 0;
    std::size_t pos = 0;

    auto leaveUnended = [&](std::size_t at) {
        Element& e = elements_[open.back()];
        e.length = at - e.start;
        e.ended = false;
        addMessage(text::format("Element '%s' at offset %d not ended",
                                std::string(nameOf(open.back())).c_str(), static_cast<int>(e.start)));
        popOpen();
    };
    auto unterminated = [&](const char* what, std::size_t at) {
        addMessage(text::format("%s at offset %d unterminated", what, static_cast<int>(at)));
    };

    while (pos < n) {
        const void* hit = std::memchr(d.data() + pos, '<', n - pos);
        if (hit == nullptr)
            break;
        const std::size_t p = static_cast<std::size_t>(static_cast<const char*>(hit) - d.data());
        if (p + 1 >= n) {
            unterminated("tag", p);
            break;
        }
        const char c = d[p + 1];
        const std::string_view rest = d.substr(p);
        if (c == '?') {
            std::size_t e = d.find("?>", p + 2);
            if (e == npos) {
                unterminated("Processing instruction", p);
                break;
            }
            pos = e + 2;
            continue;
        }
        if (c == '!') {
            static constexpr std::string_view comment = "<!--", cdata = "<![CDATA[", doctype = "<!DOCTYPE";
            if (rest.starts_with(comment)) {
                std::size_t e = d.find("-->", p + 4);
                if (e == npos) {
                    unterminated("Comment", p);
                    break;
                }
                pos = e + 3;
            } else if (rest.starts_with(cdata)) {
                std::size_t e = d.find("]]>", p + cdata.size());
                if (e == npos) {
                    unterminated("CDATA Section", p);
                    break;
                }
                pos = e + 3;
            } else if (rest.starts_with(doctype)) {
                std::size_t e = findDoctypeEnd(d, p + doctype.size());
                if (e == npos) {
                    unterminated("Doctype", p);
                    break;
                }
                pos = e + 1;
            } else if (comment.starts_with(rest) || cdata.starts_with(rest) || doctype.starts_with(rest)) {
                unterminated("tag", p);
                break;
            } else {
                addMessage(text::format("Incorrect %s at offset %d",
                                        rest.starts_with("<!-") ? "comment tag" : "! tag",
                                        static_cast<int>(p)));
                pos = p + 2;
            }
            continue;
        }
        if (c == '/') {
            const void* close = std::memchr(d.data() + p + 2, '>', n - p - 2);
            if (close == nullptr) {
                unterminated("Element end tag", p);
                break;
            }
            const std::size_t e = static_cast<std::size_t>(static_cast<const char*>(close) - d.data());
            std::size_t nameEnd = p + 2;
            while (nameEnd < e && !isSpace(d[nameEnd]))
                ++nameEnd;
            pos = e + 1;
            const std::string_view name = d.substr(p + 2, nameEnd - p - 2);
            if (name.empty() || !isNameStart(name[0])) {
                addMessage(text::format("Incorrect %s at offset %d", "tag", static_cast<int>(p)));
                continue;
            }
            std::size_t match = open.size() - 1;
            if (nameOf(open[match]) != name) {
                if (!countingNames) {
                    countingNames = true;
                    for (std::size_t k = 1; k < open.size(); ++k)
                        ++openNames[nameOf(open[k])];
                }
                if (openNames.find(name) == openNames.end())
                    match = 0;
                while (match > 0 && nameOf(open[match]) != name)
                    --match;
            }
            if (match == 0) {
                if (open.size() == 1)
                    addMessage(text::format("No start tag for end tag '%s' at offset %d",
                                            std::string(name).c_str(), static_cast<int>(p)));
                else
                    addMessage(
                        text::format("End tag '%s' at offset %d does not match start tag '%s' at offset %d",
                                     std::string(name).c_str(), static_cast<int>(p),
                                     std::string(nameOf(open.back())).c_str(),
                                     static_cast<int>(elements_[open.back()].start)));
                continue;
            }
            while (open.size() - 1 > match)
                leaveUnended(p);
            Element& closed = elements_[open.back()];
            closed.length = e + 1 - closed.start;
            closed.endTagLength = e + 1 - p;
            popOpen();
            continue;
        }
        if (!isNameStart(c)) {
            addMessage(
                text::format("Incorrect %s at offset %d", "tag name character", static_cast<int>(p + 1)));
            pos = p + 1;
            continue;
        }
        std::size_t nameLength = 0;
        bool emptyTag = false;
        const std::size_t e = scanStartTag(d, p, nameLength, emptyTag, NoVisit{});
        if (e == npos) {
            unterminated("Element tag", p);
            break;
        }
        const std::size_t parent = open.back();
        Element element;
        element.start = p;
        element.startTagLength = e + 1 - p;
        element.nameLength = nameLength;
        element.emptyTag = emptyTag;
        element.length = element.startTagLength;
        elements_.push_back(element);
        const std::size_t index = elements_.size() - 1;
        link(index, parent, elements_[parent].lastChild);
        if (parent == 0)
            ++roots;
        if (!emptyTag)
            pushOpen(index);
        pos = e + 1;
    }
    while (open.size() > 1)
        leaveUnended(n);

    bool blank = true;
    for (char ch : d)
        if (!isSpace(ch)) {
            blank = false;
            break;
        }
    if (blank)
        addMessage("Empty document");
    else if (roots == 0)
        addMessage("No root element");
    else if (roots > 1)
        addMessage("Root element has sibling");
}

void CXmlDoc::link(std::size_t element, std::size_t parent, std::size_t after) {
    Element& e = elements_[element];
    Element& p = elements_[parent];
    e.parent = parent;
    e.prev = after;
    if (after == 0) {
        e.next = p.firstChild;
        p.firstChild = element;
    } else {
        e.next = elements_[after].next;
        elements_[after].next = element;
    }
    if (e.next != 0)
        elements_[e.next].prev = element;
    else
        p.lastChild = element;
}

std::ptrdiff_t CXmlDoc::replaceText(std::size_t pos, std::size_t count, std::string_view text) {
    doc_.replace(pos, count, text);
    return static_cast<std::ptrdiff_t>(text.size()) - static_cast<std::ptrdiff_t>(count);
}

void CXmlDoc::growChain(std::size_t element, std::ptrdiff_t delta) {
    for (std::size_t e = element;; e = elements_[e].parent) {
        elements_[e].length += delta;
        if (e == 0)
            break;
    }
}

void CXmlDoc::shiftSubtree(std::size_t root, std::ptrdiff_t delta) {
    std::size_t e = root;
    for (;;) {
        elements_[e].start += delta;
        if (elements_[e].firstChild != 0) {
            e = elements_[e].firstChild;
            continue;
        }
        while (e != root && elements_[e].next == 0)
            e = elements_[e].parent;
        if (e == root)
            break;
        e = elements_[e].next;
    }
}

void CXmlDoc::shiftChildren(std::size_t element, std::ptrdiff_t delta) {
    for (std::size_t c = elements_[element].firstChild; c != 0; c = elements_[c].next)
        shiftSubtree(c, delta);
}

void CXmlDoc::shiftFollowing(std::size_t element, std::ptrdiff_t delta) {
    for (std::size_t a = element; a != 0; a = elements_[a].parent)
        for (std::size_t s = elements_[a].next; s != 0; s = elements_[s].next)
            shiftSubtree(s, delta);
}

bool CXmlDoc::Load(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        result_ = systemError(errno);
        return false;
    }
    std::string data;
    char buffer[65536];
    for (;;) {
        std::size_t got = std::fread(buffer, 1, sizeof buffer, f);
        data.append(buffer, got);
        if (data.size() > kMaxDocumentFileBytes) {
            std::fclose(f);
            result_ = kDocumentTooLarge;
            return false;
        }
        if (got < sizeof buffer)
            break;
    }
    if (std::ferror(f)) {
        int error = errno;
        std::fclose(f);
        result_ = systemError(error);
        return false;
    }
    std::fclose(f);
    const std::size_t bytes = data.size();
    std::string_view body = data;
    if (body.starts_with("\xEF\xBB\xBF"))
        body.remove_prefix(3);
    if (isUtf8File(declaredEncoding(body))) {
        auto gbk = text::toGbk(body);
        SetDoc(gbk ? *gbk : text::toGbkLossy(body));
    } else {
        SetDoc(body);
    }
    std::string parseMessages = std::move(result_);
    result_ = text::format("%s%d bytes", "", static_cast<int>(bytes));
    if (!parseMessages.empty())
        addMessage(parseMessages);
    return true;
}

// Written beside the target, flushed and renamed over it, so that a failed
// save leaves the previous file as it was.
bool CXmlDoc::Save(const std::string& path) {
    const std::string out = isUtf8File(declaredEncoding(doc_)) ? text::fromGbk(doc_) : doc_;
    if (auto failure = replaceFile(path, out)) {
        result_ = systemError(failure->error);
        return false;
    }
    result_ = text::format("%s%d bytes", "", static_cast<int>(out.size()));
    return true;
}

bool CXmlDoc::FindElem(std::string_view name) {
    std::size_t e = currentPos_ != 0 ? elements_[currentPos_].next : elements_[parentPos_].firstChild;
    for (; e != 0; e = elements_[e].next) {
        if (name.empty() || nameOf(e) == name) {
            currentPos_ = e;
            childPos_ = 0;
            return true;
        }
    }
    return false;
}

bool CXmlDoc::IntoElem() {
    if (currentPos_ == 0)
        return false;
    parentPos_ = currentPos_;
    currentPos_ = 0;
    childPos_ = 0;
    return true;
}

bool CXmlDoc::OutOfElem() {
    if (parentPos_ == 0)
        return false;
    childPos_ = currentPos_;
    currentPos_ = parentPos_;
    parentPos_ = elements_[parentPos_].parent;
    return true;
}

std::string CXmlDoc::GetTagName() const {
    return currentPos_ == 0 ? std::string() : std::string(nameOf(currentPos_));
}

const std::vector<CXmlDoc::Attribute>& CXmlDoc::attributesOf(std::size_t element) const {
    if (attributeOwner_ != element) {
        attributes_.clear();
        attributeHint_ = 0;
        attributeOwner_ = element;
        const std::size_t base = elements_[element].start;
        const std::string_view d = doc_;
        std::size_t nameLength = 0;
        bool emptyTag = false;
        scanStartTag(d.substr(0, base + elements_[element].startTagLength), base, nameLength, emptyTag,
                     [&](std::size_t ns, std::size_t ne, bool hasValue, std::size_t fs, std::size_t fe,
                         std::size_t vs, std::size_t ve) {
                         Attribute a;
                         a.hash = hashName(d.substr(ns, ne - ns));
                         a.nameStart = ns - base;
                         a.nameLength = ne - ns;
                         a.hasValue = hasValue;
                         a.fieldStart = fs - base;
                         a.fieldLength = fe - fs;
                         a.valueStart = vs - base;
                         a.valueLength = ve - vs;
                         attributes_.push_back(a);
                     });
    }
    return attributes_;
}

const CXmlDoc::Attribute* CXmlDoc::findAttribute(std::size_t element, std::string_view name) const {
    const auto& list = attributesOf(element);
    const std::size_t count = list.size();
    if (count == 0)
        return nullptr;
    const std::uint32_t h = hashName(name);
    const std::size_t base = elements_[element].start;
    // Attributes are usually read in the order they stand: start after the
    // last one found.
    std::size_t i = attributeHint_ < count ? attributeHint_ : 0;
    for (std::size_t k = 0; k < count; ++k) {
        const Attribute& a = list[i];
        if (a.hash == h && a.nameLength == name.size() &&
            doc_.compare(base + a.nameStart, a.nameLength, name) == 0) {
            attributeHint_ = i + 1;
            return &a;
        }
        if (++i == count)
            i = 0;
    }
    return nullptr;
}

std::string CXmlDoc::GetAttrib(std::string_view name) const {
    if (currentPos_ == 0 || name.empty())
        return {};
    const Attribute* a = findAttribute(currentPos_, name);
    if (a == nullptr)
        return {};
    return unescape(
        std::string_view(doc_).substr(elements_[currentPos_].start + a->valueStart, a->valueLength));
}

bool CXmlDoc::SetAttrib(std::string_view name, std::string_view value) {
    if (currentPos_ == 0 || !isWritableName(name, false))
        return false;
    return setAttribText(name, escape(value, true));
}

bool CXmlDoc::SetAttrib(std::string_view name, long long value) {
    if (currentPos_ == 0 || !isWritableName(name, false))
        return false;
    return setAttribText(name, text::writeDecimal(value));
}

bool CXmlDoc::setAttribText(std::string_view name, std::string_view escaped) {
    const std::size_t element = currentPos_;
    const Attribute* found = findAttribute(element, name);
    const std::size_t base = elements_[element].start;
    std::ptrdiff_t delta;
    if (found != nullptr) {
        const std::size_t index = static_cast<std::size_t>(found - attributes_.data());
        Attribute& a = attributes_[index];
        std::string field;
        field.reserve(escaped.size() + 3);
        std::size_t pos, count;
        if (a.hasValue) {
            pos = base + a.fieldStart;
            count = a.fieldLength;
        } else {
            field += '=';
            pos = base + a.nameStart + a.nameLength;
            count = 0;
        }
        field += '"';
        field += escaped;
        field += '"';
        delta = replaceText(pos, count, field);
        a.hasValue = true;
        a.fieldStart = pos - base + (field[0] == '=' ? 1 : 0);
        a.fieldLength = escaped.size() + 2;
        a.valueStart = a.fieldStart + 1;
        a.valueLength = escaped.size();
        for (std::size_t k = index + 1; k < attributes_.size(); ++k) {
            attributes_[k].nameStart += delta;
            attributes_[k].fieldStart += delta;
            attributes_[k].valueStart += delta;
        }
    } else {
        const Element& e = elements_[element];
        const std::size_t pos = e.start + e.startTagLength - (e.emptyTag ? 2 : 1);
        std::string text;
        text.reserve(name.size() + escaped.size() + 4);
        text += ' ';
        text += name;
        text += "=\"";
        text += escaped;
        text += '"';
        delta = replaceText(pos, 0, text);
        Attribute a;
        a.hash = hashName(name);
        a.nameStart = pos - base + 1;
        a.nameLength = name.size();
        a.hasValue = true;
        a.fieldStart = a.nameStart + name.size() + 1;
        a.fieldLength = escaped.size() + 2;
        a.valueStart = a.fieldStart + 1;
        a.valueLength = escaped.size();
        attributes_.push_back(a);
        attributeHint_ = attributes_.size();
    }
    elements_[element].startTagLength += delta;
    growChain(element, delta);
    shiftChildren(element, delta);
    shiftFollowing(element, delta);
    return true;
}

std::string CXmlDoc::GetData() const {
    if (currentPos_ == 0)
        return {};
    const Element& e = elements_[currentPos_];
    if (e.emptyTag || e.firstChild != 0)
        return {};
    const std::size_t contentStart = e.start + e.startTagLength;
    const std::string_view content =
        std::string_view(doc_).substr(contentStart, e.start + e.length - e.endTagLength - contentStart);
    if (content.find('<') == npos)
        return unescape(content);
    // CDATA sections are taken as they stand; comments, processing
    // instructions and stray end tags are no part of the data; any other '<'
    // (reported by the parse) stays as text.
    std::string out;
    std::size_t i = 0;
    while (i < content.size()) {
        std::size_t lt = content.find('<', i);
        if (lt == npos)
            lt = content.size();
        out += unescape(content.substr(i, lt - i));
        if (lt == content.size())
            break;
        const std::string_view rest = content.substr(lt);
        std::size_t skip = 0;
        if (rest.starts_with("<![CDATA[")) {
            std::size_t end = rest.find("]]>", 9);
            out += rest.substr(9, end == npos ? npos : end - 9);
            skip = end == npos ? rest.size() : end + 3;
        } else if (rest.starts_with("<!--")) {
            std::size_t end = rest.find("-->", 4);
            skip = end == npos ? rest.size() : end + 3;
        } else if (rest.starts_with("<?")) {
            std::size_t end = rest.find("?>", 2);
            skip = end == npos ? rest.size() : end + 2;
        } else if (rest.starts_with("</")) {
            // A stray end tag (the parse reported it) is markup, not data.
            std::size_t end = rest.find('>', 2);
            skip = end == npos ? rest.size() : end + 1;
        } else {
            out += '<';
            skip = 1;
        }
        i = lt + skip;
    }
    return out;
}

bool CXmlDoc::SetData(std::string_view data) {
    if (currentPos_ == 0)
        return false;
    const std::size_t element = currentPos_;
    Element& e = elements_[element];
    if (e.firstChild != 0 || !e.ended)
        return false;
    const std::string escaped = escape(data, false);
    std::ptrdiff_t delta;
    if (e.emptyTag) {
        if (escaped.empty())
            return true;
        const std::size_t slash = e.start + e.startTagLength - 2;
        const std::string_view close = startTagClose(doc_, slash);
        std::string text = std::string(close) + escaped + "</" + std::string(nameOf(element)) + ">";
        delta = replaceText(slash, 2, text);
        e.startTagLength = e.startTagLength - 2 + close.size();
        e.endTagLength = e.nameLength + 3;
        e.emptyTag = false;
    } else {
        const std::size_t contentStart = e.start + e.startTagLength;
        const std::size_t contentEnd = e.start + e.length - e.endTagLength;
        delta = replaceText(contentStart, contentEnd - contentStart, escaped);
    }
    growChain(element, delta);
    shiftFollowing(element, delta);
    return true;
}

bool CXmlDoc::AddElem(std::string_view name, std::string_view data) {
    if (!isWritableName(name, true))
        return false;
    const std::string escaped = escape(data, false);
    std::string text;
    text.reserve(2 * name.size() + escaped.size() + 8);
    text += '<';
    text += name;
    if (escaped.empty()) {
        text += "/>";
    } else {
        text += '>';
        text += escaped;
        text += "</";
        text += name;
        text += '>';
    }
    const std::size_t elementLength = text.size();
    text += "\r\n";

    const std::size_t parent = parentPos_;
    const std::size_t after = currentPos_ != 0 ? currentPos_ : elements_[parent].lastChild;
    std::size_t at;
    std::ptrdiff_t delta;
    if (after != 0) {
        // Behind the previous sibling and the line break that follows it.
        at = elements_[after].start + elements_[after].length;
        if (doc_.compare(at, 2, "\r\n") == 0)
            at += 2;
        else if (at < doc_.size() && doc_[at] == '\n')
            at += 1;
        delta = replaceText(at, 0, text);
        growChain(parent, delta);
        shiftFollowing(after, delta);
    } else if (parent != 0 && elements_[parent].emptyTag) {
        // `<parent/>` grows into `<parent>` CR LF child `</parent>`.
        Element& p = elements_[parent];
        const std::size_t slash = p.start + p.startTagLength - 2;
        const std::string_view close = startTagClose(doc_, slash);
        std::string grown = std::string(close) + "\r\n" + text + "</" + std::string(nameOf(parent)) + ">";
        delta = replaceText(slash, 2, grown);
        at = slash + close.size() + 2;
        p.startTagLength = p.startTagLength - 2 + close.size();
        p.endTagLength = p.nameLength + 3;
        p.emptyTag = false;
        growChain(parent, delta);
        shiftFollowing(parent, delta);
    } else {
        const Element& p = elements_[parent];
        at = parent == 0 ? doc_.size() : p.start + p.length - p.endTagLength;
        if (parent != 0 && at == p.start + p.startTagLength) {
            text.insert(0, "\r\n");
            delta = replaceText(at, 0, text);
            at += 2;
        } else {
            delta = replaceText(at, 0, text);
        }
        growChain(parent, delta);
        shiftFollowing(parent, delta);
    }

    Element element;
    element.start = at;
    element.length = elementLength;
    element.nameLength = name.size();
    element.emptyTag = escaped.empty();
    element.startTagLength = escaped.empty() ? elementLength : name.size() + 2;
    element.endTagLength = escaped.empty() ? 0 : name.size() + 3;
    elements_.push_back(element);
    const std::size_t index = elements_.size() - 1;
    link(index, parent, after);
    currentPos_ = index;
    childPos_ = 0;
    return true;
}

} // namespace vantor::markup
