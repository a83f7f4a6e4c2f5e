// The "Import Example" window over TImportHelp: not modal, centred on the screen, only a
// close button in its frame; six lines on the file layout above an example file.
#pragma once
#include <QWidget>

namespace halvern {

class TImportHelp;
class TViewBinder;

class TImportHelpWindow : public QWidget {
    Q_OBJECT
public:
    TImportHelpWindow(TImportHelp& form, TViewBinder& binder, QWidget* parent);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TImportHelp& form_;
    TViewBinder& binder_;
};

} // namespace halvern
