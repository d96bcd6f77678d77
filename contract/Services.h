#pragma once

class IPrompter;
class IClipboard;
class IShellOpener;
class IHelpViewer;
class IRandomSource;

/// The side effects the program's objects reach the outside world
/// through. The application owns the real ones; tests pass fakes.
struct Services {
    IPrompter& prompter;
    IClipboard& clipboard;
    IShellOpener& shell;
    IHelpViewer& help;
    IRandomSource& random;
};
