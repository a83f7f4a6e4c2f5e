#include "ui/AboutBox.h"
#include "forms/AuxForms.h"
#include "model/Version.h"
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <QtGlobal>

// The spreadsheet library's own report of its version (libxlsxwriter, utility.h).
extern "C" const char* lxw_version(void);

namespace halvern {

namespace {

QLabel* Wrapped(const QString& text, const char* name) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse);
    label->setOpenExternalLinks(true);
    return label;
}

QString Libraries() {
    return QString("<b>Built with</b><br>"
                   "Qt %1 (Core, GUI, Widgets, Print Support, SVG): GNU LGPL version 3.<br>"
                   "Qt Charts %1: GNU GPL version 3.<br>"
                   "libxlsxwriter %2, by John McNamara: BSD 2-clause licence; it carries "
                   "minizip (zlib licence) and tmpfileplus (Mozilla Public Licence 2.0).<br>"
                   "zlib: zlib licence.<br>"
                   "The licence texts are in /usr/share/common-licenses and in each library's "
                   "/usr/share/doc/&lt;package&gt;/copyright.")
        .arg(QString::fromLatin1(qVersion()), QString::fromLatin1(lxw_version()));
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutBox");
    setWindowTitle("About Halvern");

    auto* icon = new QLabel;
    icon->setPixmap(QIcon(":/icons/halvern.svg").pixmap(64, 64));
    auto* name = new QLabel(QString("<span style='font-size:16pt; font-weight:bold'>%1</span><br>%2")
                                .arg(ApplicationTitle, VersionText));
    name->setObjectName("AboutVersion");
    auto* heading = new QHBoxLayout;
    heading->addWidget(icon);
    heading->addWidget(name, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(Wrapped("Pressure management analysis for one water supply zone: night flow "
                              "components, the split of inflow into leakage and consumption, three "
                              "kinds of pressure reducing valve, costs and payback, and N1 from a "
                              "step test.",
                              "AboutPurpose"));
    // The start-up window's own text, so that the two never say different things.
    layout->addWidget(Wrapped(QString::fromStdString(TfrmSplash(0).Disclaimer), "AboutDisclaimer"));
    layout->addWidget(Wrapped(Libraries(), "AboutLibraries"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    setFixedWidth(520);
}

QString TAboutBox::Text() const {
    QStringList parts;
    for (const char* name : {"AboutVersion", "AboutPurpose", "AboutDisclaimer", "AboutLibraries"})
        if (const auto* label = findChild<QLabel*>(name)) {
            QString text = label->text();
            text.replace("<br>", "\n");
            text.remove(QRegularExpression("<[^>]*>"));
            parts << text.replace("&lt;", "<").replace("&gt;", ">");
        }
    return parts.join('\n');
}

} // namespace halvern
