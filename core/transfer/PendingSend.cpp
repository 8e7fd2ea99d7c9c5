#include "transfer/PendingSend.h"

#include <algorithm>

namespace vantor::transfer {

void PendingSend::store(ByteView request, std::size_t accepted) {
    accepted = std::min(accepted, request.size());
    data_.assign(request.begin() + static_cast<std::ptrdiff_t>(accepted), request.end());
    remaining_ = data_.size();
    if (remaining_ == 0)
        clear();
}

ByteView PendingSend::rest() const {
    return ByteView(data_).subspan(data_.size() - remaining_);
}

void PendingSend::consumed(std::size_t n) {
    remaining_ -= std::min(n, remaining_);
    if (remaining_ == 0)
        clear();
}

void PendingSend::clear() {
    data_.clear();
    data_.shrink_to_fit();
    remaining_ = 0;
}

} // namespace vantor::transfer
