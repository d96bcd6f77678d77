#pragma once

#include <QString>
#include <string>

/// Qt text to the byte string the vault works on, as UTF-8.
std::string ToBytes(const QString& text);
/// Bytes to Qt text: UTF-8 when the bytes are valid UTF-8, otherwise read
/// as Windows-1252, so that no byte is dropped.
QString FromBytes(const std::string& bytes);

/// Bytes `text` takes as UTF-8, counted without making a copy of it.
qsizetype Utf8Length(const QString& text);

/// Overwrites the characters of `text` when it holds them alone (a copy
/// shared with another QString is left to its other owner), then empties it.
void WipeQString(QString& text);
