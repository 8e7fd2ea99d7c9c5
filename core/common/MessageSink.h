#pragma once
// How core operations talk to the user: error, information and yes/no
// question, each with a caption and a text (UTF-8). The GUI shows them in
// message boxes, the CLI prints them, tests record them.
#include "text/Shown.h"

#include <deque>
#include <string>
#include <vector>

namespace vantor {

enum class MessageKind { Error, Information, Warning, Question };

struct Message {
    MessageKind kind;
    std::string caption;
    std::string text;
    bool operator==(const Message&) const = default;
};

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Caption "错误" with the error icon unless told otherwise.
    virtual void error(const std::string& caption, const std::string& text) = 0;
    virtual void information(const std::string& caption, const std::string& text) = 0;
    virtual void warning(const std::string& caption, const std::string& text) { error(caption, text); }
    // Yes/No question; answers true for Yes.
    virtual bool question(const std::string& caption, const std::string& text) = 0;

    void error(const std::string& text) { error(VT_TEXT("错误"), text); }
    // A message box with neither caption text nor icon; shown as an
    // information with an empty caption unless a front end knows better.
    virtual void plain(const std::string& text) { information("", text); }
};

// Keeps every message; answers questions from a queue of scripted answers
// (Yes when the queue is empty).
class RecordingSink : public MessageSink {
public:
    std::vector<Message> messages;
    std::deque<bool> answers;

    using MessageSink::error;
    void error(const std::string& caption, const std::string& text) override {
        messages.push_back({MessageKind::Error, caption, text});
    }
    void information(const std::string& caption, const std::string& text) override {
        messages.push_back({MessageKind::Information, caption, text});
    }
    void warning(const std::string& caption, const std::string& text) override {
        messages.push_back({MessageKind::Warning, caption, text});
    }
    bool question(const std::string& caption, const std::string& text) override {
        messages.push_back({MessageKind::Question, caption, text});
        if (answers.empty())
            return true;
        bool a = answers.front();
        answers.pop_front();
        return a;
    }
    // Texts only, in order: the usual thing a test compares.
    std::vector<std::string> texts() const {
        std::vector<std::string> t;
        for (const auto& m : messages)
            t.push_back(m.text);
        return t;
    }
};

} // namespace vantor
