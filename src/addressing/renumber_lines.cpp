#include "addressing/renumber_lines.h"

namespace fulgor {

void renumberLines(Table& table) {
    for (int r = 0; r < table.rowCount(); ++r) table.setNumber(r, 0, r + 1);
}

}  // namespace fulgor
