// Shared pieces of the project file, import and command-line tests: a scratch folder,
// whole-file helpers, a window that has been shown, and a snapshot of everything the
// window shows, to prove that a refused file changed nothing.
#pragma once
#include "forms/MainForm.h"
#include "forms/ProjectDocument.h"
#include "io/ProjectFile.h"
#include "model/Numbers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace halvern::test {

// A folder of its own for one test, removed with everything in it afterwards.
class TScratchDir {
public:
    TScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "halvern-io-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no scratch folder");
        path_ = pattern;
    }
    ~TScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TScratchDir(const TScratchDir&) = delete;
    TScratchDir& operator=(const TScratchDir&) = delete;
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& Path() const { return path_; }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        return names;
    }

private:
    std::filesystem::path path_;
};

inline std::string ReadBytes(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline void WriteBytes(const std::string& fileName, const std::string& bytes) {
    std::ofstream out(fileName, std::ios::binary);
    out << bytes;
}

inline std::string TestData(const std::string& name) {
    return std::string(HALVERN_TEST_DATA) + "/" + name;
}

// The lines of a file written by the program, without their CR LF.
inline std::vector<std::string> FileLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = bytes.find("\r\n"); end != std::string::npos; end = bytes.find("\r\n", start)) {
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

// A freshly started program: the window created and shown.
struct TShownForm {
    TScriptedDialogs Dialogs;
    std::unique_ptr<TMainForm> Form;
    TShownForm() : Form(std::make_unique<TMainForm>(Dialogs)) { Form->FormShow(); }
    TMainForm& operator*() { return *Form; }
    TMainForm* operator->() { return Form.get(); }
    // The "Read data" command with the open dialog answering this file.
    void Read(const std::string& fileName) {
        Dialogs.FileNames.push_back(fileName);
        Form->Dispatch([this] { Form->actDataReadExec(); });
    }
    // The "Save data as" command with the save dialog answering this file.
    void Save(const std::string& fileName) {
        Dialogs.FileNames.push_back(fileName);
        Form->Dispatch([this] { Form->actDataSaveAsExec(); });
    }
};

// Everything the main window and its tables show, plus the project record as a file would
// hold it: two equal snapshots mean the user sees and keeps the same project.
inline std::string Snapshot(TMainForm& form) {
    std::ostringstream out;
    out << FormatProjectFile(CollectProjectData(form));
    for (TEdit* e : form.Controls.All<TEdit>())
        out << e->Name << '=' << e->Text() << '\n';
    for (TLabel* l : form.Controls.All<TLabel>())
        out << l->Name << '=' << l->Caption << '\n';
    for (TTimePicker* p : form.Controls.All<TTimePicker>())
        out << p->Name << '=' << TimeToStr(p->Time) << '\n';
    for (const TMemo* m : {&form.CollectMemo, &form.AnalysisMemo})
        for (const std::string& line : m->Lines)
            out << m->Name << ':' << line << '\n';
    out << form.TimeWarnCheckBox.Checked << form.m3hrRadio.Checked() << form.Interval4Radio.Checked() << '\n';
    for (TMarkStringGrid* g : form.Controls.All<TMarkStringGrid>())
        for (int r = 0; r < g->RowCount(); ++r) {
            out << g->Name << '[' << r << ']';
            for (int c = 0; c < g->ColCount(); ++c)
                out << '|' << g->Cell(c, r);
            out << '\n';
        }
    out << form.Caption << '\n' << form.StatusBar1.SimpleText << '\n';
    return out.str();
}

// A Windows-era residential zone: every saved field away from its default, values as their
// edits show them, so that reading and saving again gives the same file.
inline TProjectFileData RichProject() {
    TProjectFileData d;
    TProject& p = d.Values;
    p.ZoneName = "Zoné Oos";
    p.ZoneRef = "PM-17/b";
    p.WaterSupplySystem = "Rand West";
    p.ReportNum = "R 2024-03";
    d.CollectLines = {"Name: T. Mokoena", "Tel: 011 555 0101", "Fax:", "email: tm@example.org"};
    d.AnalysisLines = {"Name: A. Botha", "Tel:", "Fax: 011 555 0199", "email:"};
    p.InletElev = 1250.5;
    p.AZPElev = 1255.25;
    p.TargetElev = 1270;
    p.LowFlowTime = EncodeTime(3, 0);
    p.HighFlowTime = EncodeTime(10, 0);
    p.DisableTimeWarnings = true;
    p.MainsLength = 42.125;
    p.NumOfConnect = 1800;
    p.NumOfServiced = 1750;
    p.NumNonResidential = 45;
    p.Population = 6300;
    p.MinPressure = 15;
    p.MinNightPressure = 12.5;
    p.MainsLoss = 40;
    p.ConnectPres = 3.25;
    p.ConnectLoss = 0.75;
    p.PropPress = 1.5;
    p.PropertyLoss = 0.25;
    p.DomesticNight = 10;
    p.PopActive = 7;
    p.NonDomMeter = 4.5;
    p.NonDomUnmeter = 0.35;
    p.DailyNonResidential = 36;
    p.N1 = 1.15;
    p.IntervalLength = EncodeTime(1, 0);
    for (int h = 0; h < HoursPerDay; ++h) {
        p.ZoneInflow[h] = 70 + 2 * h + (h >= 6 && h < 20 ? 30 : 0);
        p.InletPressure[h] = 64 - (h >= 6 && h < 20 ? 6 : 0) - 0.5 * (h % 2);
        p.AZPPressure[h] = p.InletPressure[h] - 10.25;
        p.CriticalPressure[h] = p.InletPressure[h] - 30 - (h >= 6 && h < 20 ? 8 : 0);
    }
    p.FlowUnitsM3h = false;
    const char* n1[4][6] = {{"01:00", "01:15", "64", "52", "34", "95.5"},
                            {"01:15", "01:30", "59", "47", "29", "88.25"},
                            {"01:30", "01:45", "", "42", "", "81"},
                            {"01:45", "02:00", "49", "37", "19", "74.75"}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 6; ++c)
            d.N1Cells[r][c] = n1[r][c];
    p.FixedPRVOutlet = 48.5;
    p.HighPressure = 52.25f;
    p.LowPressure = 38.5f;
    p.TimeStart1 = EncodeTime(5, 0);
    p.TimeStop1 = EncodeTime(9, 0);
    p.TimeStart2 = EncodeTime(16, 0);
    p.TimeStop2 = EncodeTime(20, 0);
    p.Intervals = 2;
    for (int r = 0; r < TimeOutletRows; ++r)
        d.TimeOutlets[r] = FormatFixed(r >= 5 && r < 9 ? 52.25 : 38.5, 5, 2);
    p.LPFlowMod = 18.5;
    p.HPFlowMod = 22;
    p.InflowCost = 6.5;
    p.ConsumpCosts = 12.75;
    p.CostFactor = 85;
    for (int i = 0; i < CostEntries; ++i) {
        p.FixedCostItem[i] = "Item " + std::to_string(i);
        p.FixedCostFixedPRV[i] = 1000 * (i + 1) + 0.25;
        p.FixedCostTimePRV[i] = 2000 * (i + 1) + 0.5;
        p.FixedCostFlowPRV[i] = 3000 * (i + 1) + 0.75;
        p.AnnualCostItem[i] = "Yearly " + std::to_string(i);
        p.AnnualCostFixedPRV[i] = 10.5 * i;
        p.AnnualCostTimePRV[i] = 20.5 * i;
        p.AnnualCostFlowPRV[i] = 30.5 * i;
    }
    p.ResConsumpChange = 12.5;
    p.NonresConsumpChange = 7.5;
    return d;
}

} // namespace halvern::test
