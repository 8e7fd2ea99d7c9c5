#pragma once
// The connecting box every device window shows while its connection is
// being made: the busy animation and one line of text. It has no buttons
// that matter; its owner ends it once connected (or failed).
#include <QDialog>

class QLabel;

namespace vantor::gui {

class AnimatedPicture;

// The busy animation: "busy.gif" in the current directory (the data
// folder), else in the installed data directory.
QString busyAnimationPath();

class ConnectingBox : public QDialog {
    Q_OBJECT
public:
    explicit ConnectingBox(QWidget* parent = nullptr);

    // Shows the box (modal, without blocking) with `text`, animation playing.
    void begin(const QString& text);
    void setText(const QString& text);
    QString text() const;
    // Ends the box: the animation stops, the box goes.
    void end();

    AnimatedPicture* picture() const { return picture_; }

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    AnimatedPicture* picture_;
    QLabel* text_;
    bool ending_ = false;
};

} // namespace vantor::gui
