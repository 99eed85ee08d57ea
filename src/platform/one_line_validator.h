#pragma once
// Keeps a text field on one line: line breaks typed or pasted into it are
// dropped, the rest of the text stays. Text set by the program is not checked.

class QLineEdit;

namespace fulgor {

// Installs the check on `field`; the field owns it.
void keepOnOneLine(QLineEdit* field);

}  // namespace fulgor
