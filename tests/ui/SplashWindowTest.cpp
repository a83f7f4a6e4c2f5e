// The start-up window: borderless, on top, its size and texts, and a click letting it go.
#include "ui/SplashWindow.h"
#include "model/Version.h"
#include <QLabel>
#include <QPointer>
#include <QTest>

using namespace halvern;

class SplashWindowTest : public QObject {
    Q_OBJECT
private slots:
    void LooksAsDesigned() {
        TSplashWindow splash;
        splash.show();
        QCOMPARE(splash.size(), QSize(547, 315));
        QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(splash.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(splash.findChild<QLabel*>("labAppName")->text(), QString("Halvern"));
        QCOMPARE(splash.findChild<QLabel*>("labAppVersion")->text(),
                 QString::fromStdString(std::string("v") + VersionNumber));
        QVERIFY(splash.findChild<QLabel*>("Memo1")->text().contains("(direct or indirect) incurred"));
        for (const char* picture : {"Image1", "Image2", "Image3"})
            QVERIFY2(!splash.findChild<QLabel*>(picture)->pixmap().isNull(), picture);
        // The blue panel, 1 pixel inside a white margin.
        const QImage image = splash.grab().toImage();
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::white));
        QCOMPARE(image.pixelColor(3, 300), QColor(0, 116, 188));
    }

    void AClickClosesItAtTheNextTickEvenBeforeStartUpEnds() {
        QPointer<TSplashWindow> splash = new TSplashWindow;
        splash->show();
        QVERIFY(QTest::qWaitForWindowExposed(splash));
        QTest::mouseClick(splash, Qt::LeftButton, {}, QPoint(300, 280)); // on the disclaimer
        QVERIFY(splash->Model().FForceClose);
        QTRY_VERIFY_WITH_TIMEOUT(splash.isNull(), 3000);
    }
};

QTEST_MAIN(SplashWindowTest)
#include "SplashWindowTest.moc"
