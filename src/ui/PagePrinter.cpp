#include "ui/PagePrinter.h"
#include "model/Messages.h"
#include "ui/ChartView.h"
#include "ui/MainWindow.h"
#include "ui/MarkStringGridView.h"
#include "ui/PageTabs.h"
#include "ui/QtCanvas.h"
#include "ui/QtPrintCanvas.h"
#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTextLayout>

namespace halvern {

namespace {

std::string Std(const QString& text) {
    return text.toStdString();
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// A caption as it reads on screen: rich text as its plain words, "&&" as "&", and no
// accelerator marks.
QString ShownText(const QString& text) {
    if (Qt::mightBeRichText(text)) return QTextDocumentFragment::fromHtml(text).toPlainText();
    return text;
}

QString WithoutAccelerator(QString text) {
    text.replace("&&", QString(QChar(0xE000)));
    text.remove('&');
    return text.replace(QChar(0xE000), "&");
}

// The layout inside `parent` (at any depth) that holds the widget.
QLayout* LayoutHolding(QLayout* layout, QWidget* widget) {
    if (!layout) return nullptr;
    if (layout->indexOf(widget) >= 0) return layout;
    for (int i = 0; i < layout->count(); ++i)
        if (QLayout* found = LayoutHolding(layout->itemAt(i)->layout(), widget)) return found;
    return nullptr;
}

// Where a widget sits in its parent. A hidden widget has no place of its own in its
// layout; in a grid (the "2nd Set" row of the time-modulated page) its cell still has one.
QRect PlaceOf(QWidget* widget) {
    if (!widget->isHidden() || !widget->parentWidget()) return widget->geometry();
    auto* grid = qobject_cast<QGridLayout*>(LayoutHolding(widget->parentWidget()->layout(), widget));
    if (!grid) return widget->geometry();
    int row = 0, column = 0, rowSpan = 1, columnSpan = 1;
    grid->getItemPosition(grid->indexOf(widget), &row, &column, &rowSpan, &columnSpan);
    const QRect cells =
        grid->cellRect(row, column).united(grid->cellRect(row + rowSpan - 1, column + columnSpan - 1));
    return cells.isValid() ? cells : widget->geometry();
}

// The lines a word-wrapped label shows.
std::vector<std::string> ShownLines(const QLabel& label, const QString& text) {
    const int width = label.contentsRect().width() - 2 * label.margin() - std::max(label.indent(), 0);
    QTextLayout layout(text, label.font());
    layout.beginLayout();
    std::vector<std::string> lines;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(width, 1));
        lines.push_back(Std(text.mid(line.textStart(), line.textLength()).trimmed()));
    }
    layout.endLayout();
    if (lines.size() < 2) lines.clear();
    return lines;
}

bool IsNeverPrinted(QWidget* widget) {
    // Buttons, spinners, splitters, tab headers, lists and sliders.
    return qobject_cast<QAbstractButton*>(widget) || qobject_cast<QAbstractSpinBox*>(widget) ||
           qobject_cast<QSplitter*>(widget) || qobject_cast<QTabBar*>(widget) ||
           qobject_cast<QComboBox*>(widget) || qobject_cast<QAbstractSlider*>(widget) ||
           qobject_cast<QAbstractScrollArea*>(widget);
}

TColor ToTColor(const QColor& colour) {
    return RGB(colour.red(), colour.green(), colour.blue());
}

// A caption's own colour (a warning in red, a legend's grey sample); black where it has
// the desktop's usual one, which on a dark desktop would be white on the paper.
TColor CaptionColour(const QWidget& widget) {
    const QColor own = widget.palette().color(QPalette::WindowText);
    return own == QApplication::palette(&widget).color(QPalette::WindowText) ? clBlack : ToTColor(own);
}

// A plain frame that fills itself with a colour of its own: a legend's swatch.
bool IsSwatch(const QWidget& widget) {
    return widget.metaObject() == &QFrame::staticMetaObject && widget.autoFillBackground();
}

void DescribeChildren(QWidget* widget, TPrintControl& control, TPageDescription& page, double screenDpi) {
    for (QObject* object : widget->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child && !child->isWindow()) control.Children.push_back(DescribeWidget(child, page, screenDpi));
    }
}

// Why a file cannot be written, in the system's words.
QString WriteError(const QString& fileName) {
    QFile file(fileName);
    const bool existed = file.exists();
    if (!file.open(QIODevice::Append)) return file.errorString();
    file.close();
    if (!existed) file.remove();
    return QStringLiteral("the file could not be written");
}

QString PrinterFailure(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        const QString file = QDir::toNativeSeparators(printer.outputFileName());
        return Q(Msg::CannotPrintTo(Std(file), Std(WriteError(printer.outputFileName()))));
    }
    return Q(Msg::CannotPrintOn(Std(printer.printerName())));
}

double ScreenDpi(const QWidget& window) {
    const QScreen* screen = window.screen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

QSize ScreenSize(const QWidget& window) {
    const QScreen* screen = window.screen();
    return screen ? screen->size() : QSize(1024, 768);
}

QSize PageSize(const QPainter& painter) {
    return QSize(painter.device()->width(), painter.device()->height());
}

} // namespace

void UsualMargins(QPrinter& printer) {
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

TPrintControl DescribeWidget(QWidget* widget, TPageDescription& page, double screenDpi) {
    TPrintControl c;
    c.Name = Std(widget->objectName());
    const QRect place = PlaceOf(widget);
    c.Left = place.x();
    c.Top = place.y();
    c.Width = place.width();
    c.Height = place.height();
    c.Font = ToFontSpec(widget->font(), screenDpi);

    if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
        c.Kind = TPrintKind::PageControl;
        if (QWidget* active = tabs->currentWidget()) {
            TPrintControl sheet = DescribeWidget(active, page, screenDpi);
            sheet.Kind = TPrintKind::TabSheet;
            c.Children.push_back(std::move(sheet));
            // A page set prints its page at its own parent's origin. Where it shares that
            // parent with other controls (the Summary's cost inputs above its two pages), a
            // panel at the page's place on screen keeps the page from printing over them.
            const QPoint at = active->mapTo(tabs, QPoint(0, 0));
            if (place.topLeft() + at != QPoint(0, 0)) {
                TPrintControl set = std::move(c);
                c = TPrintControl{};
                c.Kind = TPrintKind::Panel;
                c.Name = set.Name;
                c.Font = set.Font;
                c.Left = place.x() + at.x();
                c.Top = place.y() + at.y();
                c.Width = active->width();
                c.Height = active->height();
                set.Left = set.Top = 0;
                set.Width = c.Width;
                set.Height = c.Height;
                c.Children.push_back(std::move(set));
            }
        }
    } else if (auto* scroll = qobject_cast<QScrollArea*>(widget); scroll && scroll->widget()) {
        // What scrolls prints whole, from its top, wherever it is scrolled to on screen.
        c.Kind = TPrintKind::Panel;
        TPrintControl inner = DescribeWidget(scroll->widget(), page, screenDpi);
        inner.Left = scroll->viewport()->x();
        inner.Top = scroll->viewport()->y();
        c.Children.push_back(std::move(inner));
    } else if (auto* grid = qobject_cast<TMarkStringGridView*>(widget)) {
        c.Kind = TPrintKind::StringGrid;
        c.Grid = &grid->Grid();
        page.Canvases.push_back(std::make_unique<TQtMeasureCanvas>(grid->font()));
        c.GridScreen = page.Canvases.back().get();
    } else if (auto* chart = qobject_cast<TChartView*>(widget)) {
        c.Kind = TPrintKind::Chart;
        c.InPlace = chart->property("printInPlace").toBool();
        c.PrintChart = [chart, &page](const TRect& r) {
            if (!page.Painter) return;
            page.Painter->save();
            chart->PrintTo(*page.Painter, QRectF(r.Left, r.Top, r.Width(), r.Height()));
            page.Painter->restore();
        };
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        c.Kind = TPrintKind::GroupBox;
        c.Caption = Std(WithoutAccelerator(group->title()));
        DescribeChildren(widget, c, page, screenDpi);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        c.Kind = TPrintKind::Label;
        const QString text = ShownText(label->text());
        c.Caption = Std(text);
        c.Colour = CaptionColour(*label);
        if (label->wordWrap()) c.Lines = ShownLines(*label, text);
    } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        c.Kind = TPrintKind::CheckBox;
        c.Caption = Std(WithoutAccelerator(box->text()));
        c.Checked = box->isChecked();
    } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
        c.Kind = TPrintKind::RadioButton;
        c.Caption = Std(WithoutAccelerator(radio->text()));
        c.Checked = radio->isChecked();
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        c.Kind = TPrintKind::Edit;
        c.Caption = Std(edit->text());
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(widget)) {
        c.Kind = TPrintKind::Memo;
        for (const QString& line : memo->toPlainText().split('\n'))
            c.Lines.push_back(Std(line));
    } else if (auto* rich = qobject_cast<QTextEdit*>(widget)) {
        c.Kind = TPrintKind::Memo;
        for (const QString& line : rich->toPlainText().split('\n'))
            c.Lines.push_back(Std(line));
    } else if (auto* time = qobject_cast<QDateTimeEdit*>(widget)) {
        // A time picker prints as the box with the time it shows: the low- and high-flow
        // hours and the switching times belong on the paper.
        c.Kind = TPrintKind::Edit;
        c.Caption = Std(time->text());
    } else if (IsSwatch(*widget)) {
        c.Kind = TPrintKind::Shape;
        c.Colour = ToTColor(widget->palette().color(QPalette::Window));
    } else if (IsNeverPrinted(widget)) {
        c.Kind = TPrintKind::NotPrinted;
    } else {
        // Plain widgets and frames hold others, as panels do.
        c.Kind = TPrintKind::Panel;
        DescribeChildren(widget, c, page, screenDpi);
    }
    return c;
}

TPagePrinter::TPagePrinter(TMainWindow& window) : window_(window) {
    TMainForm& form = window_.Form();
    form.OnPrintPage = [this] { return Std(PrintShownPage(Printer())); };
    form.OnPrintChart = [this](TChart& chart) { return Std(PrintChart(chart, Printer())); };
    form.OnSavePagePicture = [this](const std::string& fileName) {
        return Std(SavePagePicture(QString::fromStdString(fileName)));
    };
}

TPagePrinter::~TPagePrinter() {
    // The form may outlive the window (tests): it must not print through widgets that are gone.
    TMainForm& form = window_.Form();
    form.OnPrintPage = nullptr;
    form.OnPrintChart = nullptr;
    form.OnSavePagePicture = nullptr;
}

QPrinter& TPagePrinter::Printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        UsualMargins(*printer_);
    }
    return *printer_;
}

std::unique_ptr<TPageDescription> TPagePrinter::DescribeShownPage() {
    auto page = std::make_unique<TPageDescription>();
    TPageTabs* tabs = window_.Tabs(window_.Form().MainPage);
    if (QWidget* active = tabs ? tabs->currentWidget() : nullptr) {
        page->Tab = DescribeWidget(active, *page, ScreenDpi(window_));
        page->Tab.Kind = TPrintKind::TabSheet;
    }
    return page;
}

double TPagePrinter::DrawShownPage(QPainter& painter) {
    const std::unique_ptr<TPageDescription> page = DescribeShownPage();
    page->Painter = &painter;
    TQtPrintCanvas canvas(painter, PageSize(painter), ScreenDpi(window_));
    const QSize screen = ScreenSize(window_);
    return PrintPage(canvas, window_.Form().PrintHeader(), page->Tab, screen.width(), screen.height());
}

QString TPagePrinter::PrintShownPage(QPrinter& printer) {
    printer.setDocName(PrintJobTitle);
    QPainter painter;
    if (!painter.begin(&printer)) return PrinterFailure(printer);
    DrawShownPage(painter);
    painter.end();
    if (printer.printerState() == QPrinter::Error) return PrinterFailure(printer);
    return {};
}

QString TPagePrinter::PrintChart(TChart& chart, QPrinter& printer) {
    printer.setDocName(PrintJobTitle);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(&printer)) return PrinterFailure(printer);
    TQtPrintCanvas canvas(painter, PageSize(painter), ScreenDpi(window_));
    TChartView* view = ChartView(chart);
    const TProject& project = window_.Form().Project;
    PrintChartPage(canvas, project.ZoneName, project.ZoneRef, TChartMargins{}, [&](const TRect& r) {
        if (!view) return;
        painter.save();
        view->PrintTo(painter, QRectF(r.Left, r.Top, r.Width(), r.Height()));
        painter.restore();
    });
    painter.end();
    if (printer.printerState() == QPrinter::Error) return PrinterFailure(printer);
    return {};
}

QString TPagePrinter::SavePagePicture(const QString& fileName) {
    QWidget* shown = window_.centralWidget();
    if (!shown) return {};
    if (!shown->grab().save(fileName, "PNG"))
        return Q(Msg::CannotWritePicture(Std(QDir::toNativeSeparators(fileName)), Std(WriteError(fileName))));
    return {};
}

TChartView* TPagePrinter::ChartView(const TChart& chart) const {
    return window_.findChild<TChartView*>(QString::fromStdString(chart.Name));
}

} // namespace halvern
