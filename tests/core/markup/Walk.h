#pragma once
// Renders the element tree as the navigation operations see it, so tests can
// compare what is reachable: name, then data in brackets when there is any,
// then children in parentheses.
#include "markup/CXmlDoc.h"

#include <string>

namespace vantor::markup::testing {

inline std::string walk(CXmlDoc& doc, int depth = 0) {
    std::string out;
    while (doc.FindElem()) {
        if (!out.empty())
            out += ' ';
        out += doc.GetTagName();
        const std::string data = doc.GetData();
        if (!data.empty())
            out += "[" + data + "]";
        if (depth < 64 && doc.IntoElem()) {
            const std::string children = walk(doc, depth + 1);
            if (!children.empty())
                out += "(" + children + ")";
            doc.OutOfElem();
        }
    }
    return out;
}

// The tree of a whole document from its top level.
inline std::string walkDocument(const std::string& text) {
    CXmlDoc doc;
    doc.SetDoc(text);
    return walk(doc);
}

} // namespace vantor::markup::testing
