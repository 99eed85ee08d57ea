#include "platform/numeric_field.h"

#include <QRegularExpression>
#include <QValidator>
#include <algorithm>
#include <cmath>

#include "core/leading_number.h"
#include "core/number_format.h"
#include "platform/qt_text.h"

namespace fulgor {
namespace {

bool hasDigit(const QString& text) {
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); });
}

// Takes a plain decimal number within the range with at most `decimals`
// decimals. A text with no digit yet ("", "-", ".") is on its way to one;
// anything else, a number outside the range included, is refused, so the
// field never shows a value it would not take.
class RangeValidator : public QValidator {
public:
    RangeValidator(double minimum, double maximum, int decimals, QObject* parent)
        : QValidator(parent),
          m_minimum(minimum),
          m_maximum(maximum),
          m_syntax(QStringLiteral("^[+-]?\\d*(\\.\\d{0,%1})?$").arg(decimals)) {}

    State validate(QString& input, int&) const override {
        if (!m_syntax.match(input).hasMatch()) return Invalid;
        if (!hasDigit(input)) return Intermediate;
        double value = leadingNumber(input.toStdString());
        return value < m_minimum || value > m_maximum ? Invalid : Acceptable;
    }

    // A field left with no digit in it holds 0. A value the program put there
    // (out of range, say) is never touched.
    void fixup(QString& input) const override {
        if (!hasDigit(input)) input = QStringLiteral("0");
    }

private:
    double m_minimum;
    double m_maximum;
    QRegularExpression m_syntax;
};

}  // namespace

NumericField::NumericField(double minimum, double maximum, int decimals, std::string mask,
                           QWidget* parent)
    : QLineEdit(parent), m_minimum(minimum), m_maximum(maximum), m_mask(std::move(mask)) {
    setValidator(new RangeValidator(minimum, maximum, decimals, this));
    setAlignment(Qt::AlignRight);
    setValue(0);
    connect(this, &QLineEdit::editingFinished, this, [this] { setValue(value()); });
}

double NumericField::value() const {
    double value = leadingNumber(text().toStdString());
    return std::isfinite(value) ? value : 0;
}

void NumericField::setValue(double value) {
    setText(toQString(m_mask.empty() ? shortestText(value) : formatMask(value, m_mask)));
}

}  // namespace fulgor
