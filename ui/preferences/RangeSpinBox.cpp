#include "ui/preferences/RangeSpinBox.h"

#include <algorithm>

CRangeSpinBox::CRangeSpinBox(QWidget* parent) : QSpinBox(parent) { setRange(0, kMaxTyped); }

void CRangeSpinBox::SetArrowRange(int low, int high) {
    m_arrowLow = low;
    m_arrowHigh = high;
}

std::optional<unsigned> CRangeSpinBox::Number() const {
    bool ok = false;
    const unsigned number = cleanText().toUInt(&ok);
    if (!ok) return std::nullopt;
    return number;
}

void CRangeSpinBox::stepBy(int steps) {
    // The arrows start from the number in the box, brought into their range.
    const int from = std::clamp(static_cast<int>(Number().value_or(0)), m_arrowLow, m_arrowHigh);
    const int to = std::clamp(from + steps, m_arrowLow, m_arrowHigh);
    setValue(to);
    selectAll();
}

QAbstractSpinBox::StepEnabled CRangeSpinBox::stepEnabled() const {
    const auto number = Number();
    if (!number) return StepUpEnabled | StepDownEnabled;
    StepEnabled enabled = StepNone;
    if (static_cast<int>(*number) < m_arrowHigh) enabled |= StepUpEnabled;
    if (static_cast<int>(*number) > m_arrowLow) enabled |= StepDownEnabled;
    return enabled;
}
