#pragma once

#include <QDialog>

class IShellOpener;
class CStaticLink;

/// The About box: the version, what the program does, the legal notice and
/// two links, the support mail address and the home page.
class CAboutDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CAboutDlg)

  public:
    /// `mailVisited` and `webVisited` are the links' visited flags, kept by
    /// the caller for the whole run.
    CAboutDlg(int& mailVisited, int& webVisited, IShellOpener& shell, QWidget* parent = nullptr);
    ~CAboutDlg() override;

    CStaticLink& MailLink() { return *m_mailLink; }
    CStaticLink& WebLink() { return *m_webLink; }

  private:
    CStaticLink* m_mailLink;
    CStaticLink* m_webLink;
};
