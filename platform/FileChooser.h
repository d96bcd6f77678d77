#pragma once

#include <QString>
#include <string>

class QWidget;

/// What a file chooser shows and starts from.
struct FileChoice {
    QString title;
    /// File types offered, in Qt's notation: "Description (*.ext)".
    QString filter;
    /// Extension, without its dot, that a name typed without one gets.
    QString defaultSuffix;
    /// File name the chooser starts with, as a full path.
    std::string initialPath;
    /// The help page F1 opens in the chooser (0: the contents).
    int helpContext = 0;
};

/// The modal choosers of a file to write or to read, so that tests can
/// answer them. Paths are the file system's bytes; empty means cancelled.
class IFileChooser {
  public:
    virtual ~IFileChooser() = default;
    /// Asks for a file to write; the user confirms replacing an existing one.
    virtual std::string ChooseSaveFile(const FileChoice& choice) = 0;
    /// Asks for a file to read; a name that does not exist is accepted too.
    virtual std::string ChooseOpenFile(const FileChoice& choice) = 0;
};

/// File choosers shown with QFileDialog over `parent`.
class CQtFileChooser final : public IFileChooser {
  public:
    explicit CQtFileChooser(QWidget* parent) : m_parent(parent) {}
    std::string ChooseSaveFile(const FileChoice& choice) override;
    std::string ChooseOpenFile(const FileChoice& choice) override;

  private:
    QWidget* m_parent;
};
