// The main window as one JSON object, for scripts and for comparing what two programs show.
#include "Json.h"
#include "Views.h"

#include "model/Numbers.h"

#include <sstream>

namespace halvern::cli {
namespace {

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
    // Every listed control of the main window and of the N1 and costs windows, by kind, in
    // the order the controls are declared.
    const TControlRegistry& controls = form.Controls;
    section("edits", [&](TObjectWriter& o) {
        for (const TEdit* edit : controls.Listed<TEdit>())
            o.Member(edit->Name, JsonString(edit->Text()));
    });
    section("memos", [&](TObjectWriter& o) {
        for (const TMemo* memo : controls.Listed<TMemo>())
            o.Member(memo->Name, Strings(memo->Lines));
    });
    section("pickers", [&](TObjectWriter& o) {
        for (const TTimePicker* picker : controls.Listed<TTimePicker>())
            o.Member(picker->Name, JsonString(TimeToStr(picker->Time)));
    });
    section("checks", [&](TObjectWriter& o) {
        // Check boxes and radio buttons together, in the order of the window.
        for (const TControl* control : controls.Listed<TControl>()) {
            if (const auto* box = dynamic_cast<const TCheckBox*>(control))
                o.Member(box->Name, JsonBool(box->Checked));
            if (const auto* radio = dynamic_cast<const TRadioButton*>(control))
                o.Member(radio->Name, JsonBool(radio->Checked()));
        }
    });
    section("labels", [&](TObjectWriter& o) {
        for (const TLabel* label : controls.Listed<TLabel>())
            o.Member(label->Name, JsonString(label->Caption));
    });
    section("grids", [&](TObjectWriter& o) {
        for (const TMarkStringGrid* grid : controls.Listed<TMarkStringGrid>())
            o.Member(grid->Name, GridRows(*grid, 4));
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
