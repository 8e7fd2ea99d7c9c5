#pragma once
// Shows the core's messages in modal message boxes over a parent window.
// Tests redirect every box to a recording sink instead (redirectTo).
#include "common/MessageSink.h"

class QWidget;

namespace vantor::gui {

class QtMessageSink : public MessageSink {
public:
    explicit QtMessageSink(QWidget* parent) : parent_(parent) {}
    using MessageSink::error;
    void error(const std::string& caption, const std::string& text) override;
    void information(const std::string& caption, const std::string& text) override;
    void warning(const std::string& caption, const std::string& text) override;
    bool question(const std::string& caption, const std::string& text) override;
    void plain(const std::string& text) override;

    // While set, every QtMessageSink forwards to `sink` and shows nothing
    // (null restores the boxes).
    static void redirectTo(MessageSink* sink);

private:
    QWidget* parent_;
};

} // namespace vantor::gui
