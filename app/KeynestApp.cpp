#include "app/KeynestApp.h"

#include <QMessageBox>

#include "platform/AppTitle.h"
#include "platform/Clipboard.h"
#include "app/HelpWindow.h"
#include "app/KeynestView.h"
#include "app/MainFrame.h"
#include "app/RunningInstance.h"
#include "generator/PasswordGenerator.h"
#include "platform/Prompter.h"
#include "settings/RegistryStore.h"
#include "platform/ShellOpener.h"
#include "settings/SingleInstanceLock.h"
#include "platform/TextBytes.h"
#include "settings/UserPaths.h"

CKeynestApp::CKeynestApp() = default;

CKeynestApp::~CKeynestApp() { ExitInstance(); }

bool CKeynestApp::OpenSettingsStore() {
    m_store = std::make_unique<CRegistryStore>(UserPaths::StoreFile());
    m_pStore = m_store.get();
    if (m_store->OpenProgramBranch(UserPaths::IniFile())) return true;
    // Going on would treat the file as a new store: say what to do and end.
    m_prompter->Show(
        QStringLiteral("Keynest cannot open its data file:\n\n%1\n\nThe file has not been "
                       "changed; it is kept exactly as it is. Keynest ends now.\n\nTo start "
                       "again with a new, empty store, move the file aside (rename it or put it "
                       "in another folder) and start Keynest: it then makes a new file at\n%2")
            .arg(FromBytes(m_store->LastError()), FromBytes(UserPaths::StoreFile())),
        PromptButtons::Ok, PromptIcon::Warning);
    return false;
}

bool CKeynestApp::InitInstance() {
    m_prompter = std::make_unique<CQtPrompter>();
    const std::string dataDirectory = UserPaths::DataDirectory();
    UserPaths::MakePrivateDirectory(dataDirectory);
    m_instanceLock = std::make_unique<CSingleInstanceLock>(
        UserPaths::StoreLockFile(UserPaths::StoreFile()), CSingleInstanceLock::kDesktopHolder);
    const QString socketPath = FromBytes(dataDirectory + "/keynest.socket");
    if (m_instanceLock->IsHeldElsewhere()) {
        // keynest-cli holds the lock only while it changes Items: there is
        // no window to bring forward.
        if (m_instanceLock->OtherHolder() == CSingleInstanceLock::kCliHolder) {
            m_prompter->Show(QStringLiteral("keynest-cli is changing Keynest's Items right "
                                            "now.\n\nStart Keynest again when it has finished."),
                             PromptButtons::Ok, PromptIcon::Information);
            return false;
        }
        // Two copies editing one list would overwrite each other's changes:
        // the running one comes to the front instead.
        if (CRunningInstance::AskToRaise(socketPath)) return false;
        m_prompter->Show(QStringLiteral("Keynest is already running.\n\nPlease use the Keynest "
                                        "window that is open already."),
                         PromptButtons::Ok, PromptIcon::Information);
        return false;
    }
    if (!m_instanceLock->IsHeld()) {
        // Without the lock a second copy could not tell this one is running.
        m_prompter->Show(QStringLiteral("Keynest cannot make sure that only one copy of it "
                                        "runs:\n\n%1\n\nTwo copies could overwrite each "
                                        "other's Items, so Keynest ends now.")
                             .arg(FromBytes(m_instanceLock->Error())),
                         PromptButtons::Ok, PromptIcon::Warning);
        return false;
    }
    if (!OpenSettingsStore()) return false;

    m_clipboard = std::make_unique<CQtClipboard>();
    m_shell = std::make_unique<CXdgOpenShell>();
    m_random = std::make_unique<COsRandomSource>();
    m_help = new CHelpWindow();
    const Services services{*m_prompter, *m_clipboard, *m_shell, *m_help, *m_random};

    m_frame = std::make_unique<CMainFrame>(*m_store, *m_help);
    // A window of the main window's: it closes with it, so that an open help
    // window never keeps the program running once the main window is gone.
    m_help->setParent(m_frame.get(), Qt::Window);
    m_prompter->SetParent(m_frame.get());
    m_view = new CKeynestView(services, *m_store, m_frame.get());
    m_frame->SetView(m_view);
    m_frame->ShowAsStored();
    m_running = std::make_unique<CRunningInstance>();
    QObject::connect(m_running.get(), &CRunningInstance::RaiseRequested, m_frame.get(),
                     [this] { RaiseProgramWindows(*m_frame); });
    m_running->Listen(socketPath);
    m_view->OnInitialUpdate();
    return true;
}

void CKeynestApp::ExitInstance() {
    m_running.reset();
    m_frame.reset();
    m_help = nullptr;
    m_pStore = nullptr;
    m_store.reset();
}
