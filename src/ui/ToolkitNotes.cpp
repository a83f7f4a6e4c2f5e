#include "ui/ToolkitNotes.h"
#include <QString>
#include <QtGlobal>
#include <cstring>

namespace halvern {

namespace {

QtMessageHandler previousHandler = nullptr;

bool IsEnvironmentNote(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) return false;
    const char* category = context.category ? context.category : "";
    return std::strncmp(category, "qt.", 3) == 0 || message.startsWith("QStandardPaths: ") ||
           message.startsWith("This plugin does not support");
}

void FilterNotes(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (IsEnvironmentNote(type, context, message)) return;
    if (previousHandler) previousHandler(type, context, message);
}

bool Set(const char* variable) {
    return !qEnvironmentVariableIsEmpty(variable);
}

} // namespace

void UseOffscreenWithoutDisplay(int argc, char** argv, std::initializer_list<const char*> options) {
    if (Set("QT_QPA_PLATFORM") || Set("DISPLAY") || Set("WAYLAND_DISPLAY")) return;
    bool fileOnly = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0) return; // the user chose one
        for (const char* option : options)
            if (std::strcmp(argv[i], option) == 0) fileOnly = true;
    }
    if (fileOnly) qputenv("QT_QPA_PLATFORM", "offscreen");
}

void QuietToolkitNotes() {
    if (Set("QT_LOGGING_RULES")) return;
    previousHandler = qInstallMessageHandler(FilterNotes);
}

} // namespace halvern
