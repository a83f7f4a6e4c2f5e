#include "ui/SplashWindow.h"
#include "ui/SplashArt.h"
#include "ui/WindowPlacement.h"
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <chrono>

namespace halvern {

uint32_t MillisecondTicks() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

namespace {

const QColor kPanelBlue(0, 116, 188);

QLabel* WhiteText(QWidget* parent, const QString& text, const QString& family, int pixelSize, bool bold) {
    auto* label = new QLabel(text, parent);
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    return label;
}

QLabel* Picture(QWidget* parent, const QPixmap& pixmap, const QRect& box) {
    auto* label = new QLabel(parent);
    label->setGeometry(box);
    label->setAlignment(Qt::AlignCenter);
    // Scaled proportionally to its box.
    label->setPixmap(pixmap.scaled(box.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    return label;
}

} // namespace

TSplashWindow::TSplashWindow()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      model_(MillisecondTicks()), timer_(new QTimer(this)) {
    setObjectName("TfrmSplash");
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(547, 315);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto* panMain = new QFrame(this);
    panMain->setObjectName("panMain");
    panMain->setGeometry(1, 1, 545, 313);
    panMain->setAutoFillBackground(true);
    QPalette blue = panMain->palette();
    blue.setColor(QPalette::Window, kPanelBlue);
    panMain->setPalette(blue);

    QLabel* name = WhiteText(panMain, QString::fromStdString(model_.labAppName), "Tahoma", 27, true);
    name->setObjectName("labAppName");
    name->setGeometry(18, 14, 380, 36);
    QLabel* version = WhiteText(panMain, QString::fromStdString(model_.labAppVersion), "Segoe UI", 16, false);
    version->setObjectName("labAppVersion");
    version->setGeometry(20, 52, 200, 22);

    Picture(panMain, DrawWaterDrop(QSize(56, 56)), QRect(472, 12, 56, 56))->setObjectName("Image3");

    auto* panLogo = new QFrame(panMain);
    panLogo->setObjectName("panLogo");
    panLogo->setGeometry(16, 84, 513, 124);
    panLogo->setAutoFillBackground(true);
    panLogo->setPalette(white);
    Picture(panLogo, DrawGaugeLogo(QSize(240, 240)), QRect(40, 6, 180, 112))->setObjectName("Image1");
    Picture(panLogo, DrawValveLogo(QSize(240, 240)), QRect(293, 6, 180, 112))->setObjectName("Image2");

    QLabel* memo = WhiteText(panMain, QString::fromStdString(model_.Disclaimer), "Segoe UI", 12, false);
    memo->setObjectName("Memo1");
    memo->setWordWrap(true);
    memo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    memo->setGeometry(16, 220, 513, 84);

    // Every part of the window answers a click as the window itself does.
    for (QWidget* child : findChildren<QWidget*>())
        child->setAttribute(Qt::WA_TransparentForMouseEvents);

    CentreOn(this, nullptr);
    connect(timer_, &QTimer::timeout, this, &TSplashWindow::Tick);
    timer_->start(TfrmSplash::TimerInterval);
}

void TSplashWindow::mousePressEvent(QMouseEvent* event) {
    model_.FormClick();
    event->accept();
}

void TSplashWindow::Tick() {
    if (model_.Timer1Timer(MillisecondTicks())) {
        timer_->stop();
        close();
    }
}

} // namespace halvern
