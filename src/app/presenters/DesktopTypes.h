#pragma once
#include <string>

namespace vedozer {

// What the desktop views and their presenters share. Every text a presenter hands to a view is
// in the program's code page (Windows-1252); the view converts it at its edge.

// The four pages of the main window.
enum class Page { Status, Scan, Results, Options };

// The main window's commands (navigation buttons, menu items, actions). A view enables, disables
// and shows each one as the presenter says and reports its clicks back by the same name.
enum class MainCommand {
    StatusPage,
    ScanPage,
    ResultsPage,
    OptionsPage,
    LiveUpdate,
    ViewReport,
    ViewQuarantine,   // opens the quarantine folder
    ViewExclusions,   // opens the exclusion list
    QuarantineWindow, // the quarantined items and restore points
    SubmitFile,
    Help,
    About,
    Language,
    SendToTray,
    Exit,
};

// The coloured state icon of the header band; its words always come with it.
enum class StateIcon { Ok, Attention, Threats };

// The small icon of a row, by what it stands for.
enum class KindIcon { None, Cookie, Registry, File, Folder, Excluded };

}  // namespace vedozer
