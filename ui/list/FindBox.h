#pragma once

#include <QLineEdit>

#include "contract/LockWipe.h"
#include "contract/KeynestContext.h"

class CItemListView;

/// The find box above the list: its text hides the Items that do not hold
/// it, Escape empties it, and the command keys a one-line box has no use
/// for stay the commands'. It is emptied at lock and before a command that
/// acts on every Item.
class CFindBox final : public QLineEdit, public ILockWipe {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CFindBox)

public:
    CFindBox(KeynestContext& context, CItemListView& list, QWidget* parent = nullptr);

    /// Edit > Find: the focus into the box, its text selected.
    void OnFind();
    void WipeAtLock() override { clear(); }

Q_SIGNALS:
    /// What the status bar says about the find text: "N of M Items shown",
    /// or empty while every Item is shown.
    void FindStatusChanged(const QString& text);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CItemListView& m_list;
};
