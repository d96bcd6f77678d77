#pragma once

#include <QDialog>
#include <QString>

class CPasswordSealer;
class IPrompter;
class QLineEdit;
class QRadioButton;

/// The Twofish tester: encrypts one 16-byte block under a 128-bit key, both
/// typed as text or as hex digits, with the block routine that seals the
/// stored passwords, so the cipher can be checked against published vectors.
class CTwofishTestDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CTwofishTestDlg)

  public:
    /// Data forms of m_nDataForm.
    static constexpr int kAsciiText = 0;
    static constexpr int kHexNibbles = 1;
    static constexpr int kNoForm = -1;

    CTwofishTestDlg(CPasswordSealer& sealer, IPrompter& prompter, QWidget* parent = nullptr);
    ~CTwofishTestDlg() override;

    /// The Compute button: checks the key and plaintext and shows the
    /// cipher text, or says what is wrong.
    void OnCompute();

    // Loaded into the controls when the dialog opens; read back at Compute
    // and when the dialog closes.
    QString m_strKey;
    QString m_strPlainText;
    QString m_strCipherText;
    int m_nDataForm = kNoForm;

    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    /// The first failed check's message, or the empty text.
    QString CheckInput() const;
    void TakeFromControls();
    void LoadControls();
    void ShowError(const QString& text);

    CPasswordSealer& m_sealer;
    IPrompter& m_prompter;
    QLineEdit* m_keyEdit;
    QLineEdit* m_plainEdit;
    QLineEdit* m_cipherEdit;
    QRadioButton* m_asciiButton;
    QRadioButton* m_hexButton;
};
