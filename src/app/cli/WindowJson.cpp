// The main window as one JSON object, for scripts and for comparing what two programs show.
#include "Json.h"
#include "Views.h"

#include "model/Numbers.h"

#include <initializer_list>
#include <sstream>

namespace halvern::cli {
namespace {

constexpr std::initializer_list<const char*> kEdits = {"ZoneNameEdit",
                                                       "ZoneRefEdit",
                                                       "WaterSupplySystemEdit",
                                                       "ReportNumEdit",
                                                       "MainsLengthEdit",
                                                       "NumOfConnectEdit",
                                                       "NumOfServicedEdit",
                                                       "NumNonResidentialEdit",
                                                       "PopulationEdit",
                                                       "MinPressureEdit",
                                                       "MinNightPressureEdit",
                                                       "InletElevEdit",
                                                       "AZPElevEdit",
                                                       "TargetElevEdit",
                                                       "MainsLossEdit",
                                                       "Edit1",
                                                       "ConnectPresEdit",
                                                       "ConnectLossEdit",
                                                       "PropPressEdit",
                                                       "PropertyLossEdit",
                                                       "DomesticNightEdit",
                                                       "PopActiveEdit",
                                                       "NonDomMeterEdit",
                                                       "NonDomUnmeterEdit",
                                                       "N1Edit",
                                                       "DailyNonResidentialEdit",
                                                       "FixedPRVOutletEdit",
                                                       "HighPressureEdit",
                                                       "LowPressureEdit",
                                                       "LPFlowMod",
                                                       "HPFlowMod",
                                                       "InflowCostEdit",
                                                       "ConsumpCostsEdit",
                                                       "CostFactorEdit",
                                                       "ResConsumpChangeEdit",
                                                       "NonresConsumpChangeEdit",
                                                       "edtConsumptionN1"};

constexpr std::initializer_list<const char*> kLabels = {
    "ConnectionLossLabel", "PropertyLossLabel",      "ResidentialNightLabel", "NonResidentialNightLabel",
    "ExceptionalUseLabel", "TotalNonPressureLabel",  "TotMainsLossLabel",     "TotConnectLossLabel",
    "TotPropLossLabel",    "CurrentDepLabel",        "CurrentIndepLabel",     "CurrentTotLabel",
    "DayNightLabel",       "NonResidentialUseLabel", "ResidentialUseLabel",   "PopUseWarningLabel",
    "NightFlowWarningLabel",
    "FixedDayNightLabel",  "FixedWarnLabel",         "FixedDepLabel",         "FixedIndepLabel",
    "FixedTotLabel",       "TimeDayNightLabel",      "TimeWarnLabel",         "TimeDepLabel",
    "TimeIndepLabel",      "TimeTotLabel",           "FlowDayNightLabel",     "FlowWarnLabel",
    "FlowDepLabel",        "FlowIndepLabel",         "FlowTotLabel",          "N1Label"};

constexpr std::initializer_list<const char*> kGrids = {"FlowGrid",    "CurrentGrid",  "FixedPRVGrid",
                                                       "TimePRVGrid", "FlowPRVGrid",  "CostSummaryGrid",
                                                       "N1Grid",      "FixedCostGrid"};

// Writes `"key": value` members of one object, each on its own line.
class TObjectWriter {
public:
    TObjectWriter(std::ostringstream& out, int indent)
        : out_(out), pad_(static_cast<std::size_t>(indent), ' ') {}
    void Member(const std::string& key, const std::string& value) {
        out_ << (first_ ? "{\n" : ",\n") << pad_ << "  " << JsonString(key) << ": " << value;
        first_ = false;
    }
    void End() { out_ << (first_ ? "{}" : "\n" + pad_ + "}"); }

private:
    std::ostringstream& out_;
    std::string pad_;
    bool first_ = true;
};

std::string List(const std::vector<std::string>& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i)
        out += (i ? ", " : "") + items[i];
    return out + "]";
}

std::string Strings(const std::vector<std::string>& texts) {
    std::vector<std::string> items;
    for (const auto& t : texts)
        items.push_back(JsonString(t));
    return List(items);
}

std::string GridRows(const TMarkStringGrid& grid, int indent) {
    const std::string pad(static_cast<std::size_t>(indent), ' ');
    std::string out = "[";
    for (int r = 0; r < grid.RowCount(); ++r) {
        std::vector<std::string> cells;
        for (int c = 0; c < grid.ColCount(); ++c)
            cells.push_back(grid.Cell(c, r));
        out += (r ? ",\n" : "\n") + pad + "  " + Strings(cells);
    }
    return out + (grid.RowCount() ? "\n" + pad + "]" : "]");
}

TLabel* LabelByName(TMainForm& form, const std::string& name) {
    for (TLabel* label : form.AllLabels())
        if (label->Name == name) return label;
    return nullptr;
}

} // namespace

std::string MessageTypeName(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::Error:
        return "error";
    case TMsgDlgType::Warning:
        return "warning";
    case TMsgDlgType::Information:
        return "information";
    case TMsgDlgType::Confirmation:
        return "confirmation";
    }
    return "error";
}

std::string WindowJson(TMainForm& form, const TScriptedDialogs& dialogs) {
    std::ostringstream out;
    TObjectWriter root(out, 0);
    root.Member("caption", JsonString(form.Caption));
    root.Member("status", JsonString(form.StatusBar1.SimpleText));

    std::vector<std::string> messages;
    for (const TRecordedMessage& m : dialogs.Messages)
        messages.push_back("{\"type\": " + JsonString(MessageTypeName(m.Type)) +
                           ", \"text\": " + JsonString(m.Text) + "}");
    std::string messageList = "[";
    for (std::size_t i = 0; i < messages.size(); ++i)
        messageList += (i ? ",\n    " : "\n    ") + messages[i];
    root.Member("messages", messageList + (messages.empty() ? "]" : "\n  ]"));

    const auto section = [&](const std::string& key, const auto& fill) {
        std::ostringstream inner;
        TObjectWriter object(inner, 2);
        fill(object);
        object.End();
        root.Member(key, inner.str());
    };
    section("edits", [&](TObjectWriter& o) {
        for (const char* name : kEdits)
            if (TEdit* edit = form.EditByName(name)) o.Member(name, JsonString(edit->Text()));
    });
    section("memos", [&](TObjectWriter& o) {
        o.Member("CollectMemo", Strings(form.CollectMemo.Lines));
        o.Member("AnalysisMemo", Strings(form.AnalysisMemo.Lines));
    });
    section("pickers", [&](TObjectWriter& o) {
        for (TTimePicker* picker : form.AllPickers())
            o.Member(picker->Name, JsonString(TimeToStr(picker->Time)));
    });
    section("checks", [&](TObjectWriter& o) {
        o.Member("TimeWarnCheckBox", JsonBool(form.TimeWarnCheckBox.Checked));
        o.Member("m3hrRadio", JsonBool(form.m3hrRadio.Checked()));
        o.Member("lsRadio", JsonBool(form.lsRadio.Checked()));
        o.Member("Interval2Radio", JsonBool(form.Interval2Radio.Checked()));
        o.Member("Interval4Radio", JsonBool(form.Interval4Radio.Checked()));
    });
    section("labels", [&](TObjectWriter& o) {
        for (const char* name : kLabels)
            if (TLabel* label = LabelByName(form, name)) o.Member(name, JsonString(label->Caption));
    });
    section("grids", [&](TObjectWriter& o) {
        for (const char* name : kGrids)
            if (TMarkStringGrid* grid = form.GridByName(name)) o.Member(name, GridRows(*grid, 4));
    });
    section("derived", [&](TObjectWriter& o) {
        const TProject& p = form.Project;
        o.Member("TotalNonPressureFlow", JsonNumber(p.TotalNonPressureFlow));
        o.Member("NightLeakage", JsonNumber(p.NightLeakage));
        o.Member("NightAZPPressure", JsonNumber(p.NightAZPPressure));
        o.Member("LPFlowMod", JsonNumber(p.LPFlowMod));
        o.Member("HPFlowMod", JsonNumber(p.HPFlowMod));
    });
    root.End();
    out << '\n';
    return out.str();
}

} // namespace halvern::cli
