// The Qt window of "Graph Properties": check boxes for the series the charts show and
// edits for the maxima of their axes, bound to the TGraphPropForm model.
#pragma once
#include <functional>

class QWidget;

namespace halvern {

class TGraphPropForm;
class TMainForm;

// Creates the dialog (owned by parent) and connects form.OnShowRequest to running it
// modally. OK (the default button) runs form.BitBtn1Click through mainForm.Dispatch;
// the window's close box runs form.Close(). afterClose runs once the dialog is gone so
// the main window can refresh its widgets.
void InstallGraphPropDialog(TGraphPropForm& form, TMainForm& mainForm, QWidget* parent,
                            std::function<void()> afterClose);

} // namespace halvern
