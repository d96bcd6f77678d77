#pragma once

class IPrompter;
class IClipboard;
class IShellOpener;
class IHelpViewer;
class IRandomSource;

/// The side effects the program's objects reach the outside world
/// through. The application owns the real ones; tests pass fakes.
struct Services {
    IPrompter* prompter = nullptr;
    IClipboard* clipboard = nullptr;
    IShellOpener* shell = nullptr;
    IHelpViewer* help = nullptr;
    IRandomSource* random = nullptr;
};
