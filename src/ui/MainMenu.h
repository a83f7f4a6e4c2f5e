// The main window's menu bar, the one place where its menus are made. The toolbar keeps
// the program's four commands as they are; the menu bar offers them again, with the commands
// the toolbar hides and the help.
//   File: New data, Read data…, Save data, Save data as…, | Import hourly data…, Import logger data…, |
//         Spreadsheet report…, Add General Data to last report, | (print commands) |, Recent projects, |
//         Close
//   Edit: Undo
//   Help: Contents, About Halvern
#pragma once

class QMenu;

namespace halvern {

class TMainWindow;

// Builds the menu bar of the window. The "Recent projects" sub-menu (object name
// "RecentProjectsMenu") starts empty and disabled; whoever keeps the list fills it.
void BuildMainMenu(TMainWindow& window);

} // namespace halvern
