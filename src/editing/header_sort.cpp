#include "editing/header_sort.h"

#include "addressing/renumber_lines.h"
#include "core/script_columns.h"

namespace fulgor {
namespace {

SortKey num(int column) {
    return {column, true};
}
SortKey text(int column) {
    return {column, false};
}

std::vector<SortKey> talsenKeys(int column) {
    using namespace talsen;
    switch (column) {
        case Line:
            return {num(Line)};
        case Type:
            return {text(Type), num(Size), num(Pos), num(Time)};
        case Size:
            return {num(Size), text(Type), num(Mod), num(Pin)};
        case Time:
            return {num(Time), num(Prefire), text(Type), num(Size)};
        case Pos:
            return {num(Pos), text(Type), num(Size), num(Time)};
        case Mod:
            return {num(Mod), num(Pin)};
        case Pin:
            return {num(Pin), num(Mod)};
        case Cost:
            return {num(Cost), text(Type), num(Size), num(Time)};
        case Notes:
            return {text(Notes), num(Time), text(Type), num(Size)};
        default:
            return {};  // Prefire and Qty do not sort
    }
}

std::vector<SortKey> kavrinKeys(int column) {
    using namespace kavrin;
    switch (column) {
        case Line:
        case TsRef:
        case Err:
            return {num(column)};
        case Shot:
            return {num(Shot), num(Time), num(Mod), num(Pin)};
        case Pos:
            return {num(Pos), num(Mod), num(Pin)};
        case Time:
            return {num(Time), num(Mod), num(Pin)};
        case Mod:
            return {num(Mod), num(Pin)};
        case Pin:
            return {num(Pin), num(Mod)};
        case Clock:
        case Type:
        case Notes:
            return {text(column), num(Mod), num(Pin)};
        case Size:
            return {num(Size), num(Mod), num(Pin)};
        case Qty:
            return {num(Qty), num(Size), text(Type)};
        default:
            return {};
    }
}

}  // namespace

std::vector<SortKey> headerSortKeys(ScriptGrid grid, int column) {
    return grid == ScriptGrid::Talsen ? talsenKeys(column) : kavrinKeys(column);
}

HeaderSort sortByHeader(ScriptGrid grid, Table& table, int column) {
    HeaderSort sort;
    sort.renumbered = grid == ScriptGrid::Kavrin;
    if (sort.renumbered) sort.linesBefore = keepLines(table);
    sort.order = table.sortRows(headerSortKeys(grid, column));
    sort.changedAnything = !sort.order.empty() || sort.linesBefore.form != KeptLines::Form::Numbers;
    if (sort.renumbered) renumberLines(table);
    return sort;
}

void undoHeaderSort(Table& table, const HeaderSort& sort) {
    if (!sort.order.empty()) table.unpermuteRows(0, sort.order);
    if (sort.renumbered) restoreLines(table, sort.linesBefore);
}

void redoHeaderSort(Table& table, const HeaderSort& sort) {
    if (!sort.order.empty()) table.permuteRows(0, sort.order);
    if (sort.renumbered) renumberLines(table);
}

}  // namespace fulgor
