#pragma once
// The File, Edit, Script and Configuration menu commands, which act on the
// table of the tab that is showing.

namespace fulgor {

enum class MenuCommand {
    FileNew,
    FileOpen,
    FileSave,
    PageSetup,
    PrintPreview,
    CopyGridSelection,
    DeleteLines,
    InsertLine,
    AddLine,
    PasteLines,
    OffsetTimeAll,
    OffsetTimeSelection,
    AddConstantToPosition,
    SaveGridLayout,
    LoadGridLayout,
};

}  // namespace fulgor
