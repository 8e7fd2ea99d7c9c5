#include "AnimatedPicture.h"

#include "picture/GifSplitter.h"

#include <QFile>
#include <QPaintEvent>
#include <QPainter>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace vantor::gui {

namespace {
constexpr auto kStopWait = std::chrono::milliseconds(5000);
}

struct AnimatedPicture::Shared {
    struct Frame {
        QImage image;
        QRect rect;
        int delay = -1;
        int disposal = 0;
    };
    std::mutex mutex;
    std::condition_variable wake;
    bool stopRequested = false;
    bool ended = true;
    bool widgetGone = false;
    QWidget* widget = nullptr;
    std::vector<Frame> frames;
    QImage surface;
    QColor background = Qt::white;
    std::atomic<int> shown{0};

    // Asks the widget to repaint from the surface; the mutex is held, so
    // the widget still exists.
    void repaint() {
        if (!widgetGone && widget)
            QMetaObject::invokeMethod(widget, qOverload<>(&QWidget::update), Qt::QueuedConnection);
    }
};

AnimatedPicture::AnimatedPicture(QWidget* parent) : QWidget(parent), shared_(std::make_shared<Shared>()) {
    shared_->widget = this;
}

AnimatedPicture::~AnimatedPicture() {
    unload();
    std::lock_guard lock(shared_->mutex);
    shared_->widgetGone = true;
}

bool AnimatedPicture::isLoaded() const {
    return frames_ > 0;
}

bool AnimatedPicture::isPlaying() const {
    return worker_.joinable();
}

int AnimatedPicture::framesShown() const {
    return shared_->shown.load();
}

std::vector<int> AnimatedPicture::frameDelays() const {
    std::vector<int> out;
    for (const auto& f : shared_->frames)
        out.push_back(f.delay);
    return out;
}

QImage AnimatedPicture::currentImage() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->surface.copy();
}

bool AnimatedPicture::loadFromFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        unload();
        return false;
    }
    return loadFromData(f.readAll());
}

bool AnimatedPicture::loadFromData(const QByteArray& data) {
    unload();
    const picture::GifView bytes(reinterpret_cast<const uint8_t*>(data.constData()),
                                 static_cast<std::size_t>(data.size()));
    if (!picture::hasGifSignature(bytes)) {
        // Any other picture QImage knows is shown still at its pixel size.
        QImage image;
        if (!image.loadFromData(data))
            return false;
        still_ = image;
        frames_ = 1;
        return makeSurface(image.size());
    }
    auto gif = picture::splitGif(bytes);
    if (!gif)
        return false;
    if (gif->frames.size() == 1) {
        QImage image;
        if (!image.loadFromData(data, "GIF"))
            return false;
        still_ = image;
        frames_ = 1;
        return makeSurface(image.size());
    }
    std::vector<Shared::Frame> frames;
    for (const auto& f : gif->frames) {
        QImage image = QImage::fromData(QByteArray::fromRawData(reinterpret_cast<const char*>(f.gif.data()),
                                                                static_cast<qsizetype>(f.gif.size())),
                                        "GIF");
        if (image.isNull())
            continue; // a frame the decoder refuses is skipped
        const QRect rect(f.left, f.top, f.width, f.height);
        // The decoder hands back the whole logical screen with the frame in
        // its place: keep just the frame.
        if (image.size() != rect.size() && QRect(QPoint(0, 0), image.size()).contains(rect))
            image = image.copy(rect);
        frames.push_back(
            {image.convertToFormat(QImage::Format_ARGB32_Premultiplied), rect, f.delay, f.disposal});
    }
    if (frames.empty())
        return false;
    frames_ = static_cast<int>(frames.size());
    {
        std::lock_guard lock(shared_->mutex);
        shared_->frames = std::move(frames);
    }
    return makeSurface(QSize(gif->width, gif->height));
}

bool AnimatedPicture::makeSurface(QSize size) {
    size_ = size;
    setFixedSize(size);
    const QColor face = palette().color(QPalette::Button);
    std::lock_guard lock(shared_->mutex);
    shared_->surface = QImage(size, QImage::Format_ARGB32_Premultiplied);
    shared_->surface.fill(face);
    shared_->background = face;
    return true;
}

bool AnimatedPicture::draw() {
    if (!isLoaded())
        return false;
    if (frames_ == 1) {
        {
            std::lock_guard lock(shared_->mutex);
            QPainter p(&shared_->surface);
            p.drawImage(QPoint(0, 0), still_);
        }
        update();
        return true;
    }
    if (worker_.joinable())
        return true;
    {
        std::lock_guard lock(shared_->mutex);
        shared_->stopRequested = false;
        shared_->ended = false;
        shared_->shown = 0;
    }
    worker_ = std::thread(&AnimatedPicture::play, shared_);
    return true;
}

void AnimatedPicture::play(std::shared_ptr<Shared> s) {
    std::unique_lock lock(s->mutex);
    std::size_t i = 0;
    while (!s->stopRequested && !s->frames.empty()) {
        const Shared::Frame& f = s->frames[i];
        QImage saved;
        if (f.disposal == 3)
            saved = s->surface.copy(f.rect);
        {
            QPainter p(&s->surface);
            p.drawImage(f.rect, f.image);
        }
        ++s->shown;
        s->repaint();
        const auto wait = std::chrono::milliseconds(picture::frameWaitMs(f.delay));
        if (s->wake.wait_for(lock, wait, [&] { return s->stopRequested; }))
            break;
        if (f.disposal == 2) {
            QPainter p(&s->surface);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.fillRect(f.rect, s->background);
        } else if (f.disposal == 3) {
            QPainter p(&s->surface);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(f.rect.topLeft(), saved);
        }
        if (++i == s->frames.size()) {
            i = 0;
            s->surface.fill(s->background);
        }
    }
    s->ended = true;
    s->wake.notify_all();
}

void AnimatedPicture::stop() {
    if (!worker_.joinable())
        return;
    std::unique_lock lock(shared_->mutex);
    shared_->stopRequested = true;
    shared_->wake.notify_all();
    const bool ended = shared_->wake.wait_for(lock, kStopWait, [&] { return shared_->ended; });
    if (ended) {
        lock.unlock();
        worker_.join();
        lock.lock();
        shared_->stopRequested = false;
        return;
    }
    // The worker did not end in time: leave it what it holds and go on
    // with a state of our own.
    shared_->widgetGone = true;
    auto fresh = std::make_shared<Shared>();
    fresh->widget = this;
    fresh->frames = shared_->frames;
    fresh->surface = shared_->surface.copy();
    fresh->background = shared_->background;
    lock.unlock();
    worker_.detach();
    shared_ = std::move(fresh);
}

void AnimatedPicture::unload() {
    stop();
    {
        std::lock_guard lock(shared_->mutex);
        shared_->frames.clear();
        shared_->surface = QImage();
        shared_->background = Qt::white;
    }
    still_ = QImage();
    frames_ = 0;
    size_ = QSize();
}

void AnimatedPicture::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    std::lock_guard lock(shared_->mutex);
    if (!shared_->surface.isNull())
        p.drawImage(e->rect(), shared_->surface, e->rect());
}

} // namespace vantor::gui
