#pragma once

#include <QSpinBox>
#include <optional>

/// A box for an unsigned whole number with up-down arrows. The box takes
/// any number typed (its range is checked when the dialog is confirmed,
/// with a message), while the arrows step only within their own range.
class CRangeSpinBox final : public QSpinBox {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CRangeSpinBox)

  public:
    /// The largest number the box takes typed: five digits.
    static constexpr int kMaxTyped = 99999;

    explicit CRangeSpinBox(QWidget* parent = nullptr);

    /// Sets the range the arrows step within.
    void SetArrowRange(int low, int high);
    int ArrowLow() const { return m_arrowLow; }
    int ArrowHigh() const { return m_arrowHigh; }

    /// The number as it stands in the box; nothing when the box holds none.
    std::optional<unsigned> Number() const;

    void stepBy(int steps) override;

  protected:
    StepEnabled stepEnabled() const override;

  private:
    int m_arrowLow = 0;
    int m_arrowHigh = kMaxTyped;
};
