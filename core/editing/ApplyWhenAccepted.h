#pragma once
// The stores of an OK press happen check by check; they are made on a copy
// of the project, which replaces the project only when every check passed.
// A refused OK followed by Cancel thus leaves the project as it was.
#include "editing/FormResult.h"
#include "model/CVantorDoc.h"

#include <utility>

namespace vantor::editing {

template <typename Steps> FormResult applyWhenAccepted(model::CVantorDoc& doc, Steps&& steps) {
    model::CVantorDoc work = doc;
    const FormResult result = std::forward<Steps>(steps)(work);
    if (result == FormResult::Accepted)
        doc = std::move(work);
    return result;
}

} // namespace vantor::editing
