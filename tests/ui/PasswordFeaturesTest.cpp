// Make a Password and the Preferences dialog over a fake context: where the
// password goes, F3 in the box, the boxes' ranges, the hints, the defaults,
// the character-set refusals and what OK hands to the watchdog and the store.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QTest>
#include <memory>
#include <tuple>

#include "ContextFixture.h"
#include "ModalDriver.h"
#include "lock/LockFlow.h"
#include "settings/Preferences.h"
#include "ui/password/MakePassword.h"
#include "ui/preferences/PreferencesCommand.h"
#include "ui/preferences/PreferencesDlg.h"
#include "ui/password/RandomPasswordDlg.h"
#include "ui/preferences/RangeSpinBox.h"

using namespace keynest_test;

namespace {

CRangeSpinBox* Spin(const QObject* dialog, const char* name) {
    return Child<CRangeSpinBox>(dialog, name);
}

void Type(const QObject* dialog, const char* name, const char* text) {
    CRangeSpinBox* box = Spin(dialog, name);
    box->selectAll();
    QTest::keyClicks(box, QString::fromLatin1(text));
}

class PasswordFeaturesTest : public ::testing::Test, protected ContextFixture {
  protected:
    PasswordFeaturesTest() { m_prefs.pwdChars = FullCharSet(); }

    /// Runs the Preferences command with `drive` acting in the open dialog.
    void RunPreferences(std::function<void(CPreferencesDlg*)> drive) {
        WhenModal<CPreferencesDlg>(std::move(drive));
        preferences.OnPreferences();
    }
    /// A Preferences dialog shown over the preferences as they stand.
    std::unique_ptr<CPreferencesDlg> ShowDialog() {
        auto dialog =
            std::make_unique<CPreferencesDlg>(m_fakes.AsServices(), m_store, false, nullptr);
        dialog->SetValues(m_prefs);
        dialog->show();
        return dialog;
    }
    int Hint(const char* key) { return m_store.GetInt("Newbie", key, 1); }

    int changes = 0;
    CPreferencesCommand preferences{m_context, [this] { ++changes; }};
    CMakePassword makePassword{m_context};
};

TEST_F(PasswordFeaturesTest, MakePasswordToTheClipboardOpensNoWindowAndSaysSo) {
    m_prefs.length = 9;
    QStringList notices;
    QObject::connect(&m_events, &CKeynestEvents::StatusMessage,
                     [&notices](const QString& text, int) { notices << text; });
    for (const int radio : {1, 2}) {  // 2: neither the clipboard nor the dialog
        m_prefs.makePwdRadio = radio;
        m_fakes.clipboard.copies = 0;
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
        EXPECT_EQ(m_fakes.clipboard.copies, radio == 1 ? 1 : 0);
    }
    EXPECT_EQ(m_fakes.clipboard.text.size(), 9u);
    EXPECT_EQ(notices, QStringList{QStringLiteral(
                           "A new password copied to the Clipboard; it is cleared in 20 seconds.")});
}

TEST_F(PasswordFeaturesTest, F3RegeneratesInTheBoxOnlyUnderPreferencesInForce) {
    m_prefs.length = 8;
    WhenModal<CRandomPasswordDlg>([this](CRandomPasswordDlg* dialog) {
        QLineEdit* box = Box(dialog, "passwordEdit");
        EXPECT_EQ(dialog->focusWidget(), box);
        EXPECT_EQ(QAccessible::queryAccessibleInterface(box)->text(QAccessible::Name),
                  QStringLiteral("Random password"));
        const QString first = box->text();
        EXPECT_EQ(first.size(), 8);
        m_prefs.length = 5;
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
        box->selectAll();
        QTest::keySequence(box, QKeySequence::Copy);
        EXPECT_EQ(m_fakes.clipboard.text, box->text().toStdString());
        close->click();
    });
    makePassword.OnMakePassword();
    EXPECT_EQ(m_fakes.clipboard.copies, 1);
}

TEST_F(PasswordFeaturesTest, HintsShowOnceAndClearTheirFlagsAndTabFindsTheChoice) {
    auto dialog = ShowDialog();
    auto* autoLock = Child<QCheckBox>(dialog.get(), "autoLockCheck");
    autoLock->click();  // off: the hint
    autoLock->click();  // on again: nothing
    autoLock->click();  // off again: already shown
    ASSERT_EQ(m_fakes.prompter.texts.size(), 1);
    EXPECT_TRUE(m_fakes.prompter.texts[0].contains(QStringLiteral("self-lock")));
    EXPECT_EQ(Hint("NoDog"), 0);

    dialog->OnCancelDialogChoice();  // auto-lock off: nothing asked
    EXPECT_EQ(Hint("SaveCancel"), 1);
    autoLock->click();
    Child<QRadioButton>(dialog.get(), "cancelDialogRadio")->click();  // answered No
    EXPECT_EQ(m_fakes.prompter.texts.size(), 2);
    EXPECT_TRUE(Child<QRadioButton>(dialog.get(), "trySaveRadio")->isChecked());
    EXPECT_EQ(Hint("SaveCancel"), 0);
    // Tab enters the radio group at its checked button.
    QApplication::setActiveWindow(dialog.get());
    Spin(dialog.get(), "dogTimeBox")->setFocus();
    QTest::keyClick(Spin(dialog.get(), "dogTimeBox"), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Child(dialog.get(), "trySaveRadio"));
    Child<QRadioButton>(dialog.get(), "cancelDialogRadio")->click();
    EXPECT_EQ(m_fakes.prompter.texts.size(), 2);
}

TEST_F(PasswordFeaturesTest, DefaultsTakeEffectOnlyOnOkAndRestoreTheHints) {
    for (const char* button : {"cancelButton", "okButton"}) {
        SCOPED_TRACE(button);
        m_prefs.length = 8;
        m_prefs.dog = 0;
        m_prefs.pwdChars = kEasyUpperCharSet;
        m_prefs.hidePwds = 1;  // a View setting, which the defaults leave alone
        for (const char* key : kNewUserHintKeys) MarkNewUserHintShown(m_store, key);
        RunPreferences([button](CPreferencesDlg* dialog) {
            Press(dialog, "defaultsButton");
            Press(dialog, button);
        });
        const bool ok = std::string(button) == "okButton";
        EXPECT_EQ(m_prefs.length, ok ? 16u : 8u);
        EXPECT_EQ(m_prefs.dog, ok ? 1 : 0);
        EXPECT_EQ(m_prefs.pwdChars, ok ? FullCharSet() : std::string(kEasyUpperCharSet));
        EXPECT_EQ(m_prefs.hidePwds, 1);
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
        m_fakes.prompter.texts.clear();
        auto dialog = ShowDialog();
        Box(dialog.get(), "charSetEdit")->setText(QString::fromLatin1(set));
        Child<QCheckBox>(dialog.get(), "alphaNumCheck")->setChecked(alphaNum);
        dialog->OnOK();
        EXPECT_EQ(dialog->result(), accepted ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(dialog->isVisible(), !accepted);
        EXPECT_EQ(m_fakes.prompter.texts.size(), accepted ? 0 : 1);
    }
}

TEST_F(PasswordFeaturesTest, OkRefusesMoreThanADayAndHandsTheNewTimeToTheWatchdog) {
    const CLockFlow lockFlow(m_context);  // applies a changed inactive duration
    RunPreferences([this](CPreferencesDlg* dialog) {
        Press(dialog, "changePasswordButton");
        Type(dialog, "dogTimeBox", "1441");
        Press(dialog, "okButton");
        EXPECT_EQ(m_fakes.prompter.texts,
                  QStringList{QStringLiteral("Please enter a whole number from 1 to 1440.")});
        Type(dialog, "dogTimeBox", "10");
        Press(dialog, "okButton");
    });
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(m_activity.timeouts, std::vector<std::uint32_t>{10u * 60000u});
    EXPECT_GE(m_activity.signals, 1);
}

TEST_F(PasswordFeaturesTest, AFailedStoreIsReportedAndTheValuesStayInForce) {
    CRegistryStore closed(m_dir.File("never-opened.sqlite"));
    KeynestContext failing{m_vault,    m_rows,   m_listLock, m_prefs, closed, m_fakes.AsServices(),
                           m_activity, m_activity, m_events, m_parent};
    CPreferencesCommand command(failing, nullptr);
    WhenModal<CPreferencesDlg>([](CPreferencesDlg* dialog) {
        Type(dialog, "lengthBox", "12");
        Press(dialog, "okButton");
    });
    command.OnPreferences();
    EXPECT_EQ(m_prefs.length, 12u);
    ASSERT_EQ(m_fakes.prompter.texts.size(), 1);
    EXPECT_TRUE(m_fakes.prompter.texts[0].startsWith(QStringLiteral("The preferences could not")));
}

}  // namespace
