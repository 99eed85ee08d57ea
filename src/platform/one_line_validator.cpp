#include "platform/one_line_validator.h"

#include <QLineEdit>
#include <QValidator>

namespace fulgor {
namespace {

class OneLineValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override {
        for (qsizetype i = input.size(); i-- > 0;) {
            if (input[i] != QLatin1Char('\n') && input[i] != QLatin1Char('\r')) continue;
            input.remove(i, 1);
            if (i < position) --position;
        }
        return Acceptable;
    }
};

}  // namespace

void keepOnOneLine(QLineEdit* field) {
    field->setValidator(new OneLineValidator(field));
}

}  // namespace fulgor
