// TSplashWindow: the start-up window over TfrmSplash. Borderless, on top, 547 x 315,
// the blue panel with the name, version, pictures and disclaimer; it closes at the first
// tick of its half-second timer that the model allows, and a click lets it go at once.
#pragma once
#include "forms/AuxForms.h"
#include <QWidget>
#include <cstdint>

class QTimer;

namespace halvern {

// The system's millisecond counter (it wraps after about 49.7 days).
uint32_t MillisecondTicks();

class TSplashWindow : public QWidget {
    Q_OBJECT
public:
    TSplashWindow();
    TfrmSplash& Model() { return model_; }
    // Every window of the program exists: the splash may close once its time is up.
    void StartUpComplete() { model_.FOKToClose = true; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void Tick();
    TfrmSplash model_;
    QTimer* timer_;
};

} // namespace halvern
