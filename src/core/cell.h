#pragma once
// A cell value: text or a number. An empty cell is the empty text.
//
// `Cell` does not own its text: a cell read from a Table views the table's own
// storage and stays valid until the table is next changed. Copy the text into
// a std::string to keep it longer.

#include <optional>
#include <string>
#include <string_view>

namespace fulgor {

class Cell {
public:
    Cell() = default;  // the empty text
    static Cell text(std::string_view text) { return Cell(text); }
    // Precondition: x is finite (no NaN or infinity is ever stored in a cell).
    static Cell number(double x) { return Cell(x); }

    bool isNumber() const { return m_isNumber; }
    bool isText() const { return !m_isNumber; }
    bool isEmpty() const { return !m_isNumber && m_text.empty(); }
    // Precondition: isNumber().
    double number() const { return m_number; }
    // Precondition: isText().
    std::string_view text() const { return m_text; }

    friend bool operator==(const Cell& a, const Cell& b) {
        return a.m_isNumber == b.m_isNumber &&
               (a.m_isNumber ? a.m_number == b.m_number : a.m_text == b.m_text);
    }

private:
    explicit Cell(std::string_view text) : m_text(text) {}
    explicit Cell(double x) : m_isNumber(true), m_number(x) {}

    bool m_isNumber = false;
    double m_number = 0;
    std::string_view m_text;
};

// The cell as text: text unchanged, a number in its shortest decimal form.
std::string cellText(const Cell& cell);

// cellNumber and numericValue of a text cell, kept out of line: the two are
// defined here so that a pass over a million number cells reads each one
// without a call.
double textCellNumber(std::string_view text);
std::optional<double> textCellValue(std::string_view text);

// The cell as a number: a number as it is, text by its leading number (an
// empty cell reads 0). May be infinite for a text too large for a double.
inline double cellNumber(const Cell& cell) {
    return cell.isNumber() ? cell.number() : textCellNumber(cell.text());
}

// The number a cell truly holds: a number cell's value, or a text cell's
// value when the whole text is one decimal number (isDecimalNumber) that fits
// in a double. Nothing for the empty text or any other text, so "12abc" and
// "1e400" are told apart from 12 and from a real value.
inline std::optional<double> numericValue(const Cell& cell) {
    if (cell.isNumber()) return cell.number();
    return textCellValue(cell.text());
}

}  // namespace fulgor
