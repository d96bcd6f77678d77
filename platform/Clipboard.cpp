#include "Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "TextBytes.h"

void CQtClipboard::SetText(const std::string& text) {
    QGuiApplication::clipboard()->setText(FromBytes(text));
}

void CQtClipboard::Clear() { QGuiApplication::clipboard()->clear(); }
