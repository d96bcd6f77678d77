#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/TextBytes.h"

void CQtClipboard::SetText(const std::string& text) {
    QGuiApplication::clipboard()->setText(FromBytes(text));
}

void CQtClipboard::Clear() { QGuiApplication::clipboard()->clear(); }
