#include <string>

#include "app/cli_commands.h"
#include "app/cli_sd_show.h"

namespace fulgor::cli {

Command printCommand() {
    static const std::string details =
        std::string(
            "  --pdf OUT.pdf     the PDF file to write (A4 portrait)\n"
            "  --layout NAME     arrange the columns by the grid layout NAME\n"
            "                    (TalsenScript, KavrinScript, DirectorScript) saved in\n"
            "                    Pellor.grx in the program's folder (FULGOR_HOME when set)\n"
            "For an SD show (.scx), the rows of its view:\n") +
        std::string(kSdViewOptionHelp) +
        "Each page has the header \"Talsen Script Table - \", \"Kavrin Script Table - \" or\n"
        "\"SD Show Script Table - \" with the file's path (and the show name), the column\n"
        "headers and the footer \"Page: N\". A table wider than the page is scaled down to\n"
        "fit its width.\n";
    return {"print",
            "SCRIPT.csv|SHOW.kvn|SHOW.scx --pdf OUT.pdf [--layout NAME] [--sort TEXT] "
            "[--filter FIELD=TEXT]...",
            "Prints a Talsen or Kavrin script table or an SD show to a PDF file, laid out as "
            "Print Preview shows.",
            details,
            {{"--pdf", true}, {"--layout", true}, {"--sort", true}, {"--filter", true, true}},
            drawPrint};
}

}  // namespace fulgor::cli
