#pragma once

#include <string>

#include "contract/KeynestContext.h"

class IFileChooser;
struct FileChoice;

/// File > Import From Another Program and File > Export To CSV: the
/// export files of other password programs read in after a preview, and
/// every Item written out in plain text as a CSV file they import.
class CForeignFiles final {
  public:
    CForeignFiles(KeynestContext& context, IFileChooser& chooser);
    CForeignFiles(const CForeignFiles&) = delete;
    CForeignFiles& operator=(const CForeignFiles&) = delete;

    /// Import From Another Program: the chosen file is read whole and
    /// recognised, the preview shows what would be added and what is left
    /// out, and only its OK adds the Items, with one save.
    void OnImportFromProgram();
    /// Export To CSV: after the plain-text warning, every row to the chosen
    /// file, written as a new file (mode 0600) renamed into place.
    void OnExportToCsv();

  private:
    /// A chooser titled `title` offering `filter`, starting in the folder
    /// of the last export or import at `fileName`.
    FileChoice Choice(const char* title, const char* filter, const char* fileName) const;
    /// True while unlocked; otherwise tells the user that the program
    /// locked itself while a chooser or question was open.
    bool StillUnlocked();
    /// Reads the file at `path` whole into `bytes`; false, after telling
    /// the user why, when it cannot be read.
    bool ReadChosenFile(const std::string& path, std::string& bytes);

    KeynestContext& m_context;
    IFileChooser& m_chooser;
};
