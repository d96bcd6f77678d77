#pragma once

#include <string>

#include "contract/KeynestContext.h"

class CMemoryItemList;
class IFileChooser;
struct ExportReadResult;
struct FileChoice;

/// File > Export To File and File > Import From File: the Items, sealed
/// under the UnLock password, written to a file the user chooses and read
/// back from one. Before an import that clears the list, the current Items
/// are kept in a backup file beside the imported file.
class CExportImport final {
  public:
    CExportImport(KeynestContext& context, IFileChooser& chooser);
    CExportImport(const CExportImport&) = delete;
    CExportImport& operator=(const CExportImport&) = delete;

    /// Export To File: writes every row to the chosen file, in the vault's
    /// own format; a hardened vault offers the weaker classic one when
    /// everything fits it.
    void OnExportToFile();
    /// Import From File: two questions, the chosen file, then its Items
    /// join the list (which is first backed up and cleared if the user
    /// wishes and the file reads whole) and the list is saved. Records that
    /// could not be read are counted and the user told why.
    void OnImportFromFile();

  private:
    /// What the chooser titled `title` offers and starts from: the file
    /// last used, or "backup" in the current directory.
    FileChoice Choice(const char* title);
    /// True while unlocked; otherwise tells the user that the program
    /// locked itself while a chooser or question was open.
    bool StillUnlocked();
    /// True when the classic export format can hold the UnLock password
    /// and every Password, so a hardened vault may offer it.
    bool ClassicExportFits();
    /// Under the list lock: backs up and clears the rows when `clearFirst`,
    /// then adds the rows of `staged`. False, with the rows untouched, when
    /// the backup could not be written.
    bool MergeRows(const std::string& importPath, const CMemoryItemList& staged, bool clearFirst,
                   bool replaceBackup);
    void ReportFileError();
    /// Tells the user why the file read into `result` is not imported:
    /// it cannot be opened, gave no answer, is not an export file or holds
    /// no Items. True when there is something to import.
    bool ReportUnimportable(const std::string& path, const ExportReadResult& result);

    KeynestContext& m_context;
    IFileChooser& m_chooser;
};
