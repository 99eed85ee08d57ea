#include "platform/numeric_field.h"

#include <QDoubleValidator>
#include <cmath>

#include "core/leading_number.h"
#include "core/number_format.h"
#include "platform/qt_text.h"

namespace fulgor {

NumericField::NumericField(double minimum, double maximum, int decimals, std::string mask,
                           QWidget* parent)
    : QLineEdit(parent), m_minimum(minimum), m_maximum(maximum), m_mask(std::move(mask)) {
    auto* validator = new QDoubleValidator(minimum, maximum, decimals, this);
    validator->setLocale(QLocale::c());
    validator->setNotation(QDoubleValidator::StandardNotation);
    setValidator(validator);
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
