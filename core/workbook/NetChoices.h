#pragma once
// The lists of choices the VantorNet sheets hold as texts: the model, the
// serial settings of the two ports (the baud rates as numbers, "115.2k"
// taken too), the work mode. The function labels are Vantor's.
#include "net/NetCatalogue.h"

#include <string>
#include <vector>

namespace vantor::workbook {

template <std::size_t N> std::vector<std::string> netList(const std::array<std::string_view, N>& list) {
    return {list.begin(), list.end()};
}

inline const std::vector<std::string>& netModelChoices() {
    static const std::vector<std::string> v = [] {
        std::vector<std::string> out;
        for (const auto& m : net::netGatewayModels())
            out.emplace_back(m.name);
        return out;
    }();
    return v;
}

inline const std::vector<std::string>& netBaudChoices() {
    static const std::vector<std::string> v = [] {
        auto out = netList(net::kBaudList);
        for (auto& b : out)
            if (b == "115.2k")
                b = "115200";
        return out;
    }();
    return v;
}

inline const std::vector<std::string>& netParityChoices() {
    static const std::vector<std::string> v = netList(net::kParityList);
    return v;
}

inline const std::vector<std::string>& netStopChoices() {
    static const std::vector<std::string> v = netList(net::kStopList);
    return v;
}

inline const std::vector<std::string>& netWorkModeChoices() {
    static const std::vector<std::string> v = netList(net::kWorkModes);
    return v;
}

inline const std::vector<std::string>& netPortChoices() {
    static const std::vector<std::string> v{"COM1", "COM2"};
    return v;
}

} // namespace vantor::workbook
