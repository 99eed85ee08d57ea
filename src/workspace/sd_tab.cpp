#include "workspace/sd_tab.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include "workspace/widgets.h"

namespace fulgor {
namespace {

// The fields of the SD show's "Events" table, in grid order.
const char* const kSdColumns[] = {"CUE",
                                  "TIME",
                                  "HH",
                                  "MM",
                                  "SS",
                                  "FF",
                                  "NEXT",
                                  "Event Description",
                                  "PFT",
                                  "ADDR",
                                  "Haddr",
                                  "CGHZ",
                                  "POS",
                                  "ANGLE",
                                  "QTY",
                                  "CAL",
                                  "TYPE",
                                  "DUR",
                                  "Effect Description",
                                  "REF",
                                  "MFG",
                                  "MAGAZINE",
                                  "PRICE1",
                                  "PRICE2",
                                  "PRICE3",
                                  "CUSTOM1",
                                  "CUSTOM2"};

}  // namespace

SdTab::SdTab(QWidget* parent) : WorkspaceTab(parent) {
    auto* grid = named(new QTableView(this), "TDBGrid3");
    auto* model = new QStandardItemModel(0, static_cast<int>(std::size(kSdColumns)), grid);
    for (int c = 0; c < model->columnCount(); ++c) {
        model->setHeaderData(c, Qt::Horizontal, QString::fromLatin1(kSdColumns[c]));
    }
    grid->setModel(model);
    grid->verticalHeader()->setFixedWidth(18);

    QLabel* file = makeLabel("lblSDscriptFile");
    auto* lines = makeLabel("lblNumOfLines");
    auto* sortOrder = named(new QLineEdit, "txtSortOrderField");
    QPushButton* sort = makeButton("cmdSortSD", QStringLiteral("Sort By"));
    QPushButton* clearFilter = makeButton("cmdClearFilter", QStringLiteral("Clear Filters"));
    QGroupBox* calOptions = makeFrame("frmSDCalOptions", QStringLiteral("Cal/Cghz"));
    QRadioButton* cal = makeOption("optSDcal", QStringLiteral("Cal"));
    QRadioButton* cghz = makeOption("optSDcghz", QStringLiteral("Cghz"));
    cal->setChecked(true);
    QPushButton* sendToTalsen = makeButton("cmdSendToTS", QStringLiteral("Send to Talsen"));
    auto* calLayout = new QHBoxLayout(calOptions);
    calLayout->addWidget(cal);
    calLayout->addWidget(cghz);
    calLayout->addWidget(sendToTalsen);
    for (QWidget* notYetBuilt :
         std::initializer_list<QWidget*>{sortOrder, sort, clearFilter, calOptions, grid}) {
        notYetBuilt->setEnabled(false);
    }

    auto* controls = new QGridLayout;
    controls->addWidget(new QLabel(QStringLiteral("Visible Lines")), 0, 0);
    controls->addWidget(lines, 1, 0);
    controls->addWidget(new QLabel(QStringLiteral("Sorting Order")), 0, 1);
    controls->addWidget(sortOrder, 1, 1);
    controls->addWidget(sort, 1, 2);
    controls->addWidget(clearFilter, 1, 3);
    controls->addWidget(calOptions, 0, 4, 2, 1);
    controls->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(file);
    layout->addLayout(controls);
    layout->addWidget(grid, 1);
}

}  // namespace fulgor
