#pragma once
// The lenient markup document through which project files and the access
// address file are written and read. The whole document is one GBK text plus
// a table of element positions and a navigation cursor. It never refuses a
// document: what it found wrong goes into the result text, and whatever
// elements it could delimit stay navigable. Attribute names made of digits
// ("0" .. "255") are ordinary names here.
#include <string>
#include <string_view>

namespace vantor::markup {

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
    // encoding is read and written byte for byte.
    bool Load(const std::string& path);
    bool Save(const std::string& path);

    // Navigation. An empty name matches any element.
    bool FindElem(std::string_view name = {});
    bool IntoElem();
    bool OutOfElem();

    // Values are GBK, unescaped on read and escaped on write.
    std::string GetAttrib(std::string_view name) const;
    bool SetAttrib(std::string_view name, std::string_view value);
    bool SetAttrib(std::string_view name, long long value);
    std::string GetData() const;
    bool SetData(std::string_view text);
    bool AddElem(std::string_view name, std::string_view data = {});

    // Parse and file messages, joined with ", ".
    const std::string& GetResult() const { return result_; }

private:
    std::string doc_;
    std::string result_;
    // Element table and cursor: layout is the implementation's own.
    struct Impl;
    friend struct Impl;
};

} // namespace vantor::markup
