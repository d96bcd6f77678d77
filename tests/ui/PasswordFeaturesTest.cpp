// Make a Password and the Preferences dialog over a fake context: where the
// password goes, F3 in the box, the boxes' ranges, the hints, the defaults,
// the character-set refusals and what OK hands to the watchdog and the store.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QRadioButton>
#include <QTest>
#include <memory>
#include <tuple>

#include "FakeServices.h"
#include "ModalDriver.h"
#include "TestSupport.h"
#include "platform/Activity.h"
#include "platform/KeynestContext.h"
#include "platform/KeynestEvents.h"
#include "settings/Preferences.h"
#include "ui/MakePassword.h"
#include "ui/PreferencesCommand.h"
#include "ui/PreferencesDlg.h"
#include "ui/RandomPasswordDlg.h"
#include "ui/RangeSpinBox.h"
#include "vault/ItemList.h"
#include "vault/Vault.h"

using namespace keynest_test;

namespace {

class FakeActivity final : public IActivity {
  public:
    void SignalActivity() override { ++signals; }
    void SetDogTimeout(std::uint32_t ms) override { timeouts.push_back(ms); }
    void RequestLaunch(const std::string& /*url*/) override {}
    int signals = 0;
    std::vector<std::uint32_t> timeouts;
};

CRangeSpinBox* Spin(const QObject* dialog, const char* name) {
    return Child<CRangeSpinBox>(dialog, name);
}

void Type(const QObject* dialog, const char* name, const char* text) {
    CRangeSpinBox* box = Spin(dialog, name);
    box->selectAll();
    QTest::keyClicks(box, QString::fromLatin1(text));
}

class PasswordFeaturesTest : public ::testing::Test, protected TempStore {
  protected:
    void SetUp() override { prefs.pwdChars = FullCharSet(); }

    /// Runs the Preferences command with `drive` acting in the open dialog.
    void RunPreferences(std::function<void(CPreferencesDlg*)> drive) {
        WhenModal<CPreferencesDlg>(std::move(drive));
        preferences.OnPreferences();
    }
    /// A Preferences dialog shown over the preferences as they stand.
    std::unique_ptr<CPreferencesDlg> ShowDialog() {
        auto dialog =
            std::make_unique<CPreferencesDlg>(fakes.AsServices(), m_store, false, nullptr);
        dialog->SetValues(prefs);
        dialog->show();
        return dialog;
    }
    int Hint(const char* key) { return m_store.GetInt("Newbie", key, 1); }

    FakeServices fakes;
    FakeActivity activity;
    Preferences prefs;
    CMemoryItemList rows;
    std::recursive_mutex listLock;
    CKeynestEvents events;
    QWidget parent;
    CVault vault{m_store};
    KeynestContext context{vault,    rows,   listLock, prefs, m_store, fakes.AsServices(),
                           activity, events, parent};
    int changes = 0;
    CPreferencesCommand preferences{context, [this] { ++changes; }};
    CMakePassword makePassword{context};
};

TEST_F(PasswordFeaturesTest, MakePasswordToTheClipboardOpensNoWindow) {
    prefs.length = 9;
    for (const int radio : {1, 2}) {  // 2: neither the clipboard nor the dialog
        prefs.makePwdRadio = radio;
        fakes.clipboard.copies = 0;
        bool opened = false;
        QTimer::singleShot(0, [&opened] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                opened = true;
                dialog->reject();
            }
        });
        makePassword.OnMakePassword();
        QApplication::processEvents();
        EXPECT_FALSE(opened) << radio;
        EXPECT_EQ(fakes.clipboard.copies, radio == 1 ? 1 : 0);
    }
    EXPECT_EQ(fakes.clipboard.text.size(), 9u);
}

TEST_F(PasswordFeaturesTest, F3RegeneratesInTheBoxOnlyUnderPreferencesInForce) {
    prefs.length = 8;
    WhenModal<CRandomPasswordDlg>([this](CRandomPasswordDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Keynest Random Password "));
        QLineEdit* box = Box(dialog, "passwordEdit");
        EXPECT_EQ(dialog->focusWidget(), box);
        const QString first = box->text();
        EXPECT_EQ(first.size(), 8);
        prefs.length = 5;
        QTest::keyClick(box, Qt::Key_F3);
        const QString second = box->text();
        EXPECT_EQ(second.size(), 5);
        EXPECT_NE(second, first);
        // Other keys keep their ordinary meaning in the box.
        QTest::keyClick(box, Qt::Key_Home);
        QTest::keyClick(box, Qt::Key_Delete);
        EXPECT_EQ(box->text(), second.mid(1));
        auto* close = Child<QPushButton>(dialog, "closeButton");
        close->setFocus();
        QTest::keyClick(close, Qt::Key_F3);
        EXPECT_EQ(box->text(), second.mid(1));
        close->click();
    });
    makePassword.OnMakePassword();
    EXPECT_EQ(fakes.clipboard.copies, 0);
}

TEST_F(PasswordFeaturesTest, HintsShowOnceAndClearTheirFlags) {
    auto dialog = ShowDialog();
    auto* autoLock = Child<QCheckBox>(dialog.get(), "autoLockCheck");
    autoLock->click();  // off: the hint
    autoLock->click();  // on again: nothing
    autoLock->click();  // off again: already shown
    ASSERT_EQ(fakes.prompter.texts.size(), 1);
    EXPECT_TRUE(fakes.prompter.texts[0].contains(QStringLiteral("self-lock")));
    EXPECT_EQ(Hint("NoDog"), 0);

    dialog->OnCancelDialogChoice();  // auto-lock off: nothing asked
    EXPECT_EQ(Hint("SaveCancel"), 1);
    autoLock->click();
    Child<QRadioButton>(dialog.get(), "cancelDialogRadio")->click();  // answered No
    EXPECT_EQ(fakes.prompter.texts.size(), 2);
    EXPECT_TRUE(Child<QRadioButton>(dialog.get(), "trySaveRadio")->isChecked());
    EXPECT_EQ(Hint("SaveCancel"), 0);
    Child<QRadioButton>(dialog.get(), "cancelDialogRadio")->click();
    EXPECT_EQ(fakes.prompter.texts.size(), 2);
}

TEST_F(PasswordFeaturesTest, DefaultsTakeEffectOnlyOnOkAndRestoreTheHints) {
    for (const char* button : {"cancelButton", "okButton"}) {
        SCOPED_TRACE(button);
        prefs.length = 8;
        prefs.dog = 0;
        prefs.pwdChars = kEasyUpperCharSet;
        for (const char* key : kNewUserHintKeys) MarkNewUserHintShown(m_store, key);
        RunPreferences([button](CPreferencesDlg* dialog) {
            Press(dialog, "defaultsButton");
            Press(dialog, button);
        });
        const bool ok = std::string(button) == "okButton";
        EXPECT_EQ(prefs.length, ok ? 16u : 8u);
        EXPECT_EQ(prefs.dog, ok ? 1 : 0);
        EXPECT_EQ(prefs.pwdChars, ok ? FullCharSet() : std::string(kEasyUpperCharSet));
        EXPECT_EQ(m_store.GetInt("Prefs", "Length", -1), ok ? 16 : -1);
        for (const char* key : kNewUserHintKeys) EXPECT_EQ(Hint(key), ok ? 1 : 0) << key;
    }
}

TEST_F(PasswordFeaturesTest, UnusableCharacterSetsAreRefused) {
    using Case = std::tuple<const char*, bool, bool>;  // set, AlphaNum, accepted
    for (const auto& [set, alphaNum, accepted] :
         {Case{"", false, false}, Case{"abcdefghijklmnopq", true, false},
          Case{"0123456789!#$%&*+", true, false}, Case{"abcdefghijklmnop1", true, true}}) {
        SCOPED_TRACE(set);
        fakes.prompter.texts.clear();
        auto dialog = ShowDialog();
        Box(dialog.get(), "charSetEdit")->setText(QString::fromLatin1(set));
        Child<QCheckBox>(dialog.get(), "alphaNumCheck")->setChecked(alphaNum);
        dialog->OnOK();
        EXPECT_EQ(dialog->result(), accepted ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(dialog->isVisible(), !accepted);
        EXPECT_EQ(fakes.prompter.texts.size(), accepted ? 0 : 1);
    }
}

TEST_F(PasswordFeaturesTest, OkHandsTheNewTimeToTheWatchdogWhileUnlocked) {
    ASSERT_TRUE(vault.ChooseFirstPassword("secret"));
    RunPreferences([](CPreferencesDlg* dialog) {
        Press(dialog, "changePasswordButton");
        Type(dialog, "dogTimeBox", "10");
        Press(dialog, "okButton");
    });
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(activity.timeouts, std::vector<std::uint32_t>{10u * 60000u});
    EXPECT_GE(activity.signals, 1);
}

TEST_F(PasswordFeaturesTest, AFailedStoreIsReportedAndTheValuesStayInForce) {
    CRegistryStore closed(m_dir.File("never-opened.sqlite"));
    KeynestContext failing{vault,    rows,   listLock, prefs, closed, fakes.AsServices(),
                           activity, events, parent};
    CPreferencesCommand command(failing, nullptr);
    WhenModal<CPreferencesDlg>([](CPreferencesDlg* dialog) {
        Type(dialog, "lengthBox", "12");
        Press(dialog, "okButton");
    });
    command.OnPreferences();
    EXPECT_EQ(prefs.length, 12u);
    ASSERT_EQ(fakes.prompter.texts.size(), 1);
    EXPECT_TRUE(fakes.prompter.texts[0].startsWith(QStringLiteral("The preferences could not")));
}

}  // namespace
