#include "editing/LineBudget.h"

#include "model/CommandKind.h"
#include "text/Numbers.h"
#include "text/Shown.h"

#include <cmath>
#include <cstdio>
#include <sstream>

namespace vantor::editing {

namespace {

constexpr int kBaudRates[] = {2400, 4800, 9600, 19200, 38400, 57600, 115200};

int baudOf(int index) {
    return index >= 0 && index < 7 ? kBaudRates[index] : kBaudRates[2];
}

// Start bit, 8 data bits, parity (index 0: none), 1 or 2 stop bits.
int bitsPerCharacter(const model::CCOM& com) {
    return 1 + 8 + (com.check == 0 ? 0 : 1) + (com.stop == 1 ? 2 : 1);
}

} // namespace

bool polledEveryCycle(const model::CModule& m) {
    const model::CommandKind* kind = model::findCommandKind(m.Func);
    return kind && (kind->readWrite == 0 || m.editSend != 1);
}

bool parseDeadSlaves(const std::string& text, std::set<std::pair<std::string, int>>& dead) {
    std::istringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        const auto colon = item.find(':');
        if (colon == std::string::npos || colon == 0 || colon + 1 >= item.size())
            return false;
        int address = 0;
        for (char c : item.substr(colon + 1)) {
            if (c < '0' || c > '9' || address > 255)
                return false;
            address = address * 10 + (c - '0');
        }
        dead.insert({item.substr(0, colon), address});
    }
    return true;
}

std::pair<int, int> commandFrameBytes(int modbusFunction, int length) {
    // Address, function, CRC around each body.
    constexpr int kFrame = 4;
    const int bitBytes = (length + 7) / 8;
    switch (modbusFunction) {
    case 1:
    case 2:
        return {kFrame + 4, kFrame + 1 + bitBytes};
    case 3:
    case 4:
        return {kFrame + 4, kFrame + 1 + 2 * length};
    case 5:
    case 6:
        return {kFrame + 4, kFrame + 4};
    case 15:
        return {kFrame + 5 + bitBytes, kFrame + 4};
    case 16:
        return {kFrame + 5 + 2 * length, kFrame + 4};
    default:
        return {0, 0};
    }
}

std::vector<LineBudget> lineBudgets(const model::CVantorDoc& doc, double thresholdMs,
                                    const std::set<std::pair<std::string, int>>& dead) {
    std::vector<LineBudget> out;
    for (const auto& com : doc.coms) {
        LineBudget b;
        b.line = com.COMName;
        b.baud = baudOf(com.baud);
        b.bitsPerCharacter = bitsPerCharacter(com);
        const double charMs = 1000.0 * b.bitsPerCharacter / b.baud;
        const double silenceMs = 3.5 * charMs;
        for (std::size_t i = 0; i < doc.slaves.size(); ++i) {
            const auto& s = doc.slaves[i];
            if (s.com_name != com.COMName)
                continue;
            const bool answers = !dead.count({com.COMName, s.address});
            SlaveCost cost{static_cast<int>(i), s.address, 0};
            for (const auto& m : s.modules) {
                if (!polledEveryCycle(m))
                    continue;
                const model::CommandKind* kind = model::findCommandKind(m.Func);
                const auto [request, reply] = commandFrameBytes(kind->modbusFunction, m.Length);
                const double replyMs = answers ? silenceMs + reply * charMs : s.timeout * 10.0;
                cost.ms += silenceMs + request * charMs + replyMs + s.space * 10.0;
                ++b.commands;
            }
            // The line's gap lies between one slave's messages and the next's.
            if (cost.ms > 0)
                cost.ms += com.space * 10.0;
            b.cycleMs += cost.ms;
            if (b.costliest.slave < 0 || cost.ms > b.costliest.ms)
                b.costliest = cost;
            b.slaves.push_back(cost);
        }
        b.overThreshold = b.cycleMs > thresholdMs;
        out.push_back(std::move(b));
    }
    return out;
}

const std::array<std::string, 8>& budgetColumnTitles() {
    static const std::array<std::string, 8> titles{
        VT_DATA("线路"),     VT_DATA("波特率"),     VT_DATA("位/字符"),  VT_DATA("命令数"),
        VT_DATA("周期(ms)"), VT_DATA("最耗时从站"), VT_DATA("耗时(ms)"), VT_DATA("超限")};
    return titles;
}

std::array<std::string, 8> budgetTableRow(const LineBudget& b) {
    auto ms = [](double value) {
        char text[32];
        std::snprintf(text, sizeof text, "%.1f", value);
        return std::string(text);
    };
    return {b.line,
            std::to_string(b.baud),
            std::to_string(b.bitsPerCharacter),
            std::to_string(b.commands),
            ms(b.cycleMs),
            b.costliest.slave < 0 ? "-" : std::to_string(b.costliest.address),
            ms(b.costliest.ms),
            b.overThreshold ? VT_DATA("是") : VT_DATA("否")};
}

namespace {

// The summary as written (the report keeps it) or in the user's language
// (the window).
std::string summaryOf(const LineBudget& b, bool inUserLanguage) {
    auto phrase = [inUserLanguage](const char* t) {
        return inUserLanguage ? text::shown(t) : std::string(t);
    };
    if (b.overThreshold && b.costliest.slave >= 0)
        return text::format(
            phrase(VT_TEXT("%s 轮询周期约 %ld ms，超过限值；耗时最多的是从站 %d（约 %ld ms）")).c_str(),
            b.line.c_str(), std::lround(b.cycleMs), b.costliest.address, std::lround(b.costliest.ms));
    return text::format(phrase(VT_TEXT("%s 轮询周期约 %ld ms")).c_str(), b.line.c_str(),
                        std::lround(b.cycleMs));
}

} // namespace

std::string budgetSummary(const LineBudget& b) {
    return summaryOf(b, false);
}

std::string selectedLineSummary(const model::CVantorDoc& doc) {
    int line = doc.selectedCom();
    if (line < 0 && doc.selectedSlave() >= 0)
        line = doc.lineOfSlave(doc.selectedSlave());
    if (line < 0)
        return {};
    const auto budgets = lineBudgets(doc);
    return summaryOf(budgets.at(static_cast<std::size_t>(line)), true);
}

} // namespace vantor::editing
