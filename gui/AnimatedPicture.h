#pragma once
// A picture on a dialog's face that plays an animated GIF (the busy
// animation of the transfer dialogs) or shows any other picture still.
//
// A GIF is split into single-frame GIFs by the core's splitter and each is
// decoded by QImage. With several frames a worker thread plays them into an
// off-screen image, honouring each frame's delay and disposal, and asks the
// widget to repaint; painting copies from that image. The image and the
// stop request are the only things the two threads share, both under one
// mutex. Stop waits at most 5000 ms for the worker; a worker that has not
// ended by then keeps its own reference to what it draws into, so nothing
// it touches is freed under it.
#include <QColor>
#include <QImage>
#include <QWidget>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace vantor::gui {

class AnimatedPicture : public QWidget {
    Q_OBJECT
public:
    explicit AnimatedPicture(QWidget* parent = nullptr);
    ~AnimatedPicture() override;

    // Loads a picture; false when it cannot be read or decoded (nothing is
    // loaded then). Loading first unloads.
    bool loadFromFile(const QString& path);
    bool loadFromData(const QByteArray& data);

    // Starts playing; false when nothing is loaded. A still picture is
    // rendered once.
    bool draw();
    // Ends the playing; returns at once when nothing plays.
    void stop();
    // Stop, then forget the picture.
    void unload();

    bool isLoaded() const;
    bool isPlaying() const;
    bool isAnimated() const { return frames_ > 1; }
    int frameCount() const { return frames_; }
    QSize pictureSize() const { return size_; }
    std::vector<int> frameDelays() const;
    // Frames rendered by the worker since the last draw().
    int framesShown() const;
    // A copy of the off-screen image.
    QImage currentImage() const;

    QSize sizeHint() const override { return size_; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    struct Shared;
    bool makeSurface(QSize size);
    static void play(std::shared_ptr<Shared> shared);

    std::shared_ptr<Shared> shared_;
    std::thread worker_;
    QImage still_;
    int frames_ = 0;
    QSize size_;
};

} // namespace vantor::gui
