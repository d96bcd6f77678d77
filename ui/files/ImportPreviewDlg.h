#pragma once

#include <QDialog>

#include "importers/ForeignFile.h"

struct ImportPlan;

/// What importing another program's file would do, shown before anything
/// changes: how many records were found, how many will be added, how many
/// are left out for each reason, and the left-out ones by Location and
/// reason (never a Password). Accepted by OK; a file that adds nothing
/// only offers Close.
class CImportPreviewDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CImportPreviewDlg)

  public:
    /// `hardenHint`: the vault's format refused long Passwords that a
    /// hardened vault would keep, so the dialog says how to convert it.
    CImportPreviewDlg(const QString& fileName, ForeignFormat format, const ImportPlan& plan,
                      bool hardenHint, QWidget* parent = nullptr);
    ~CImportPreviewDlg() override;
};

/// The name of `format` as the user knows the file ("KeePassXC CSV").
QString ForeignFormatTitle(ForeignFormat format);
