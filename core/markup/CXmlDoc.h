#pragma once
// The lenient markup document through which project files and the access
// address file are written and read. The whole document is one GBK text plus
// a table of element positions and a navigation cursor. It never refuses a
// document: what it found wrong goes into the result text, and whatever
// elements it could delimit stay navigable. Attribute names made of digits
// ("0" .. "255") are ordinary names here.
#include "text/Shown.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vantor::markup {

// The largest document file read (projects, ETHOption.xml). Real projects
// stay far below it (the biggest model's full configuration is well under
// 1 MB); a larger file is refused at once instead of being parsed into an
// element table many times its size.
inline constexpr std::size_t kMaxDocumentFileBytes = 8u << 20;
inline constexpr const char* kDocumentTooLarge = VT_TEXT("文件过大");

class CXmlDoc {
public:
    CXmlDoc();

    // Replaces the document by `text` (GBK) and parses it; the cursor goes to
    // the document level. True when exactly one root element was found and
    // no structural error.
    bool SetDoc(std::string_view text);
    bool SetDoc() { return SetDoc(std::string_view{}); }
    const std::string& GetDoc() const { return doc_; }

    // File access with the declaration's encoding rule: absent or "UTF-8"
    // converts between UTF-8 (file) and GBK (document); any other declared
    // encoding is read and written byte for byte. The result text is the byte
    // count ("123 bytes", then any parse messages) or the system's error
    // text; Load is false only when the file cannot be read (the document is
    // then left as it was) or is larger than kMaxDocumentFileBytes. Save
    // writes beside the target and renames, so a failed save leaves the
    // previous file untouched.
    bool Load(const std::string& path);
    bool Save(const std::string& path);

    // Navigation. An empty name matches any element.
    bool FindElem(std::string_view name = {});
    bool IntoElem();
    bool OutOfElem();
    // Back to the document level, as after SetDoc.
    void ResetPos() { parentPos_ = currentPos_ = childPos_ = 0; }

    // The name of the current element; empty when there is none.
    std::string GetTagName() const;

    // Values are GBK, unescaped on read and escaped on write. Edits act on
    // the current element and change the document text in place. SetData is
    // false for an element with child elements; names that could not be read
    // back (empty, or holding blanks, quotes, '<', '>', '/', '=', '&') are
    // refused.
    std::string GetAttrib(std::string_view name) const;
    bool SetAttrib(std::string_view name, std::string_view value);
    bool SetAttrib(std::string_view name, long long value);
    std::string GetData() const;
    bool SetData(std::string_view text);
    bool AddElem(std::string_view name, std::string_view data = {});

    // Parse and file messages, joined with ", ".
    const std::string& GetResult() const { return result_; }

private:
    // One entry per element; entry 0 stands for the document itself. Offsets
    // are byte offsets into doc_; links are indexes into elements_, 0 = none.
    struct Element {
        std::size_t start = 0;          // offset of '<'
        std::size_t length = 0;         // start tag through end tag
        std::size_t startTagLength = 0; // through its '>'
        std::size_t endTagLength = 0;   // 0 for `<name/>` and for an element never ended
        std::size_t nameLength = 0;
        std::size_t parent = 0, firstChild = 0, lastChild = 0, next = 0, prev = 0;
        bool emptyTag = false; // written `<name/>`
        bool ended = true;     // false when no end tag closed it
    };
    // Attributes of one start tag, offsets relative to the element start.
    struct Attribute {
        std::uint32_t hash = 0;
        std::size_t nameStart = 0, nameLength = 0;
        std::size_t valueStart = 0, valueLength = 0; // the raw value inside its quotes
        std::size_t fieldStart = 0, fieldLength = 0; // the value with its quotes
        bool hasValue = false;                       // false for a bare name
    };

    void parse();
    void addMessage(const std::string& message);
    std::string_view nameOf(std::size_t element) const;
    void link(std::size_t element, std::size_t parent, std::size_t after);
    // Text edits: replaceText changes the document text and answers the
    // change in length; the callers then grow the enclosing elements and move
    // the elements behind the edit, touching nothing before it.
    std::ptrdiff_t replaceText(std::size_t pos, std::size_t count, std::string_view text);
    void growChain(std::size_t element, std::ptrdiff_t delta);
    void shiftSubtree(std::size_t element, std::ptrdiff_t delta);
    void shiftChildren(std::size_t element, std::ptrdiff_t delta);
    void shiftFollowing(std::size_t element, std::ptrdiff_t delta);
    const std::vector<Attribute>& attributesOf(std::size_t element) const;
    const Attribute* findAttribute(std::size_t element, std::string_view name) const;
    bool setAttribText(std::string_view name, std::string_view value);

    std::string doc_;
    std::string result_;
    std::vector<Element> elements_;
    std::size_t parentPos_ = 0;  // the element whose children are navigated
    std::size_t currentPos_ = 0; // the current element, 0 = none
    std::size_t childPos_ = 0;   // the child left by OutOfElem, 0 = none

    // The attribute list of the last element asked, rebuilt when it changes.
    mutable std::size_t attributeOwner_ = 0;
    mutable std::vector<Attribute> attributes_;
    mutable std::size_t attributeHint_ = 0;
};

} // namespace vantor::markup
