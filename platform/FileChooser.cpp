#include "platform/FileChooser.h"

#include <QFile>
#include <QFileDialog>

#include "platform/HelpViewer.h"

namespace {

std::string Choose(QWidget* parent, const FileChoice& choice, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, choice.title);
    dialog.setObjectName(QStringLiteral("keynestFileDialog"));
    dialog.setProperty(kHelpContextProperty, choice.helpContext);
    dialog.setAcceptMode(mode);
    // The open chooser lets a name through that does not exist; the
    // reader reports it. The save chooser asks before replacing a file.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(choice.filter);
    // Only the save chooser adds the extension: in the open chooser it
    // would turn an existing file without one into a missing file.
    if (mode == QFileDialog::AcceptSave) dialog.setDefaultSuffix(choice.defaultSuffix);
    dialog.selectFile(QFile::decodeName(QByteArray::fromStdString(choice.initialPath)));
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return {};
    return QFile::encodeName(files.first()).toStdString();
}

}  // namespace

std::string CQtFileChooser::ChooseSaveFile(const FileChoice& choice) {
    return Choose(m_parent, choice, QFileDialog::AcceptSave);
}

std::string CQtFileChooser::ChooseOpenFile(const FileChoice& choice) {
    return Choose(m_parent, choice, QFileDialog::AcceptOpen);
}
