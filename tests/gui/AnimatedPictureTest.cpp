// The animated picture: our busy animation plays on its worker into the
// off-screen image and stops promptly; still pictures (another format, a
// single-frame GIF) start no worker; data that is no picture loads nothing.
#include "AnimatedPicture.h"
#include "ConnectingBox.h"

#include "picture/GifSplitter.h"

#include <QBuffer>
#include <QFile>
#include <QtTest>

using vantor::gui::AnimatedPicture;

class AnimatedPictureTest : public QObject {
    Q_OBJECT

    static QByteArray busyGif() {
        QFile f(vantor::gui::busyAnimationPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void busyAnimationPlaysAndStops() {
        AnimatedPicture picture;
        QVERIFY(picture.loadFromData(busyGif()));
        QVERIFY(picture.isAnimated());
        QCOMPARE(picture.frameCount(), 12);
        QCOMPARE(picture.pictureSize(), QSize(48, 48));
        QCOMPARE(picture.size(), QSize(48, 48));
        for (int d : picture.frameDelays())
            QCOMPARE(d, 8);
        const QImage blank = picture.currentImage();
        picture.show();
        QVERIFY(picture.draw());
        QVERIFY(picture.isPlaying());
        QTRY_VERIFY_WITH_TIMEOUT(picture.framesShown() >= 3, 5000);
        QVERIFY(picture.currentImage() != blank);
        // Stop returns once the worker has ended: the count stays where it
        // is through the events still queued, and stopping again is harmless.
        picture.stop();
        QVERIFY(!picture.isPlaying());
        const int shown = picture.framesShown();
        QCoreApplication::processEvents();
        picture.stop();
        QCOMPARE(picture.framesShown(), shown);
        // Playing again starts over.
        QVERIFY(picture.draw());
        QTRY_VERIFY_WITH_TIMEOUT(picture.framesShown() >= 1, 5000);
        picture.unload();
        QVERIFY(!picture.isLoaded());
        QVERIFY(!picture.draw());
    }

    void destroyedWhilePlaying() {
        auto* picture = new AnimatedPicture;
        QVERIFY(picture->loadFromData(busyGif()));
        QVERIFY(picture->draw());
        QTRY_VERIFY_WITH_TIMEOUT(picture->framesShown() >= 1, 5000);
        delete picture; // stops and joins its worker first
        QCoreApplication::processEvents();
    }

    void stillPictures_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QSize>("size");
        QImage png(30, 20, QImage::Format_RGB32);
        png.fill(QColor(10, 200, 30));
        QByteArray pngBytes;
        QBuffer buffer(&pngBytes);
        buffer.open(QIODevice::WriteOnly);
        png.save(&buffer, "PNG");
        QTest::newRow("png") << pngBytes << QSize(30, 20);
        // The first frame of the busy animation as a GIF of its own.
        const QByteArray all = busyGif();
        auto split = vantor::picture::splitGif(vantor::picture::GifView(
            reinterpret_cast<const uint8_t*>(all.constData()), static_cast<std::size_t>(all.size())));
        QVERIFY(split);
        const auto& first = split->frames.front().gif;
        QTest::newRow("single-frame gif")
            << QByteArray(reinterpret_cast<const char*>(first.data()), static_cast<qsizetype>(first.size()))
            << QSize(48, 48);
    }

    void stillPictures() {
        QFETCH(QByteArray, data);
        QFETCH(QSize, size);
        AnimatedPicture picture;
        QVERIFY(picture.loadFromData(data));
        QCOMPARE(picture.frameCount(), 1);
        QVERIFY(!picture.isAnimated());
        QCOMPARE(picture.pictureSize(), size);
        QVERIFY(picture.draw());
        QVERIFY(!picture.isPlaying());
        if (QTest::currentDataTag() == QByteArray("png"))
            QCOMPARE(picture.currentImage().pixelColor(5, 5), QColor(10, 200, 30));
        picture.stop(); // nothing plays: returns at once
    }

    void dataThatIsNoPicture() {
        const QByteArray cases[] = {QByteArray("not a picture at all"), QByteArray("GIF89a"),
                                    busyGif().left(40), QByteArray()};
        for (const auto& data : cases) {
            AnimatedPicture picture;
            QVERIFY(!picture.loadFromData(data));
            QVERIFY(!picture.isLoaded());
            QVERIFY(!picture.draw());
        }
        AnimatedPicture picture;
        QVERIFY(!picture.loadFromFile("no-such-file.gif"));
    }
};

QTEST_MAIN(AnimatedPictureTest)
#include "AnimatedPictureTest.moc"
