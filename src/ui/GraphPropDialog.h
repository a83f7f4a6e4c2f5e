// The Qt window of "Graph Properties": check boxes for the series the charts show and
// edits for the maxima of their axes, bound to the TGraphPropForm model.
#pragma once

class QWidget;

namespace halvern {

class TGraphPropForm;
class TViewBinder;

// Creates the dialog (owned by parent) with its boxes and edits bound through binder, and
// connects form.OnShowRequest to running it modally. OK (the default button) runs
// form.BitBtn1Click and the window's close box form.Close(), both through the binder;
// once the dialog is gone the binder refreshes every widget.
void InstallGraphPropDialog(TGraphPropForm& form, TViewBinder& binder, QWidget* parent);

} // namespace halvern
