// Feeds arbitrary bytes to the markup document, then walks and edits what it
// delimited. After the edits the element table must still agree with the
// text: reparsing the edited text must give the same tree.
#include "markup/CXmlDoc.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using vantor::markup::CXmlDoc;

std::string walk(CXmlDoc& doc, int depth, int& budget) {
    std::string out;
    while (budget-- > 0 && doc.FindElem()) {
        out += doc.GetTagName();
        out += '[';
        out += doc.GetData();
        out += ']';
        (void)doc.GetAttrib("0");
        (void)doc.GetAttrib("a");
        if (depth < 32 && doc.IntoElem()) {
            out += '(';
            out += walk(doc, depth + 1, budget);
            out += ')';
            doc.OutOfElem();
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CXmlDoc doc;
    doc.SetDoc(text);
    // Text inserted behind a construct that runs to the end of the document
    // (an unterminated comment, an element never ended) is swallowed by it on
    // reparse: only documents without one must keep table and text in step.
    const std::string& result = doc.GetResult();
    const bool closed =
        result.find("unterminated") == std::string::npos && result.find("not ended") == std::string::npos;

    int budget = 2000;
    (void)walk(doc, 0, budget);

    // Edit at the first element found and inside it.
    doc.ResetPos();
    if (doc.FindElem()) {
        doc.SetAttrib("a", "<\"&'>");
        doc.SetAttrib("0", 255LL);
        if (doc.IntoElem()) {
            doc.FindElem();
            doc.AddElem("n", "x&y");
            doc.SetAttrib("a", "1");
            doc.SetData("d");
            doc.OutOfElem();
        }
    } else {
        doc.AddElem("n");
    }

    doc.ResetPos();
    budget = 2000;
    const std::string edited = walk(doc, 0, budget);
    CXmlDoc reread;
    reread.SetDoc(doc.GetDoc());
    budget = 2000;
    if (closed && walk(reread, 0, budget) != edited)
        std::abort();
    return 0;
}
