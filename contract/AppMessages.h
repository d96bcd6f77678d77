#pragma once

#include <QEvent>

// Private messages the program posts to its own objects. The numbers are
// kept as the program has always used them; each is a custom QEvent type.

/// First private message number.
inline constexpr int kWmApp = 0x8000;

/// Inactivity lock, stage 1: dismiss the program's message boxes.
inline constexpr auto kWmDogCloseBoxes = static_cast<QEvent::Type>(kWmApp + 0x65);
/// Inactivity lock, stage 2: close or save the program's dialogs.
inline constexpr auto kWmDogCloseDialogs = static_cast<QEvent::Type>(kWmApp + 0x66);
/// Inactivity lock, stage 3: lock.
inline constexpr auto kWmDogLock = static_cast<QEvent::Type>(kWmApp + 0x67);
/// A click on the Location column, acted on once the click is over.
inline constexpr auto kWmDeferredClick = static_cast<QEvent::Type>(kWmApp + 200);

static_assert(kWmDeferredClick <= QEvent::MaxUser, "custom event numbers must stay below MaxUser");
