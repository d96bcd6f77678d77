#pragma once

#include <QString>

#include "vault/ItemRules.h"  // PasswordLimit

class IClipboard;
class QLineEdit;

/// Makes `box` refuse any edit that would take its text over `limit` (the
/// vault format's bytes and characters); it then keeps its old text and
/// emits inputRejected(). A later call replaces the limit.
void LimitToPasswordBytes(QLineEdit& box, const PasswordLimit& limit = kKeyTextPasswordLimit);

/// True when `text` keeps within `limit`.
bool FitsPasswordLimit(const QString& text, const PasswordLimit& limit);

/// The one-line note that says how long a password may be under `limit`.
QString PasswordLimitNote(const PasswordLimit& limit);

/// Keeps `box` from publishing its selected text as the PRIMARY selection,
/// where any program could read it; for boxes that show a password in clear.
void KeepSelectionPrivate(QLineEdit& box);

/// Sends every copy out of `box` (the copy and cut keys and its context
/// menu) through `clipboard`, so that a password copied from a box is marked
/// secret and cleared like one copied from the list. Dragging the text out
/// stays off.
void CopyAsSecret(QLineEdit& box, IClipboard& clipboard);

/// Drops the PRIMARY selection when this program owns it: the lock calls
/// it, so that no selected field outlives the lock there.
void DropOwnSelection();
