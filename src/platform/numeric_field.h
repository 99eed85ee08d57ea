#pragma once
// A numeric text field: typing is limited to a number within the field's
// range (a key that would take it out is refused), while a value set by the
// program (one read from a file, say) is shown as it is, never clamped to the
// range, so the show is not silently changed. The value is the leading number
// of the text; the display is the value in the field's format (a mask such as
// "0.00", or the shortest form when the mask is empty), renewed when the user
// finishes typing; a field left with no digit shows 0. What the field shows is
// what a save writes.

#include <QLineEdit>
#include <string>

namespace fulgor {

class NumericField : public QLineEdit {
    Q_OBJECT
public:
    NumericField(double minimum, double maximum, int decimals, std::string mask,
                 QWidget* parent = nullptr);

    double value() const;
    void setValue(double value);
    double minimum() const { return m_minimum; }
    double maximum() const { return m_maximum; }

private:
    double m_minimum;
    double m_maximum;
    std::string m_mask;
};

}  // namespace fulgor
