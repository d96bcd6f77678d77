#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/TextBytes.h"

namespace {

// Tells clipboard managers (Klipper and others that follow KDE's hint) not
// to keep or show the text.
const QString kPasswordHintFormat = QStringLiteral("x-kde-passwordManagerHint");

}  // namespace

CQtClipboard::CQtClipboard() {
    m_timer.setSingleShot(true);
    m_timer.callOnTimeout([this] { ClearOwnText(); });
}

CQtClipboard::~CQtClipboard() {
    if (QGuiApplication::instance() != nullptr) ClearOwnText();
}

void CQtClipboard::SetText(const std::string& text) {
    auto* data = new QMimeData;
    data->setText(FromBytes(text));
    data->setData(kPasswordHintFormat, QByteArrayLiteral("secret"));
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setMimeData(data);
    m_data = data;
    // Platforms without ownership tracking never report it; there only the
    // data object tells whether the text is still ours.
    m_ownershipKnown = clipboard->ownsClipboard();
    m_timer.stop();
    const std::chrono::milliseconds delay = m_delay ? m_delay() : std::chrono::milliseconds(0);
    if (delay.count() > 0) m_timer.start(delay);
}

void CQtClipboard::Clear() {
    m_timer.stop();
    QGuiApplication::clipboard()->clear();
}

bool CQtClipboard::HoldsOwnText() const {
    if (m_data.isNull()) return false;
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->mimeData() != m_data.data()) return false;
    return !m_ownershipKnown || clipboard->ownsClipboard();
}

void CQtClipboard::ClearOwnText() {
    m_timer.stop();
    if (HoldsOwnText()) QGuiApplication::clipboard()->clear();
    m_data.clear();
}
