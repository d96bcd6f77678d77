#include "platform/Prompter.h"

#include <QMessageBox>

#include "platform/AppTitle.h"

namespace {

QMessageBox::Icon ToQtIcon(PromptIcon icon) {
    switch (icon) {
        case PromptIcon::Information: return QMessageBox::Information;
        case PromptIcon::Warning: return QMessageBox::Warning;
        case PromptIcon::Question: return QMessageBox::Question;
        case PromptIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

int CQtPrompter::Show(const QString& text, PromptButtons buttons, PromptIcon icon) {
    QMessageBox box(ToQtIcon(icon), AppTitle(), text,
                    buttons == PromptButtons::YesNo ? QMessageBox::Yes | QMessageBox::No
                                                    : QMessageBox::Ok,
                    m_parent);
    box.setObjectName(QStringLiteral("keynestMessageBox"));
    const int answer = box.exec();
    switch (answer) {
        case QMessageBox::Yes: return kPromptYes;
        case QMessageBox::No: return kPromptNo;
        case QMessageBox::Ok: return kPromptOk;
        default: return kPromptDismissed;
    }
}
