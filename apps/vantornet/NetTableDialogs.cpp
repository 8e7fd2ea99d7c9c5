#include "NetTableDialogs.h"

#include "TableList.h"
#include "editing/AddressMap.h"
#include "net/NetAddressTables.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

using namespace vantor;

namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(NetTableDialogs)
};

// Each table of a row of `perRow` as wide as all its columns, within the
// screen: the dialog grows with longer titles and cells.
void showAllColumns(QDialog& d, const QList<QTableWidget*>& tables, int perRow) {
    const int widest = d.screen()->availableGeometry().width() / perRow - 60;
    for (QTableWidget* t : tables) {
        int width = 2 * t->frameWidth() + t->verticalScrollBar()->sizeHint().width();
        for (int c = 0; c < t->columnCount(); ++c)
            width += t->columnWidth(c);
        t->setMinimumWidth(std::min(width, widest));
    }
}

void showDpTable(QWidget* parent, const net::DpTable& table) {
    QDialog d(parent);
    d.setWindowTitle(Texts::tr("DP地址映射表"));
    auto* layout = new QVBoxLayout(&d);
    auto* lists = new QHBoxLayout;
    const QStringList headers = gui::headerTexts(net::dpColumnTitles());
    QTableWidget* input = gui::tableList("listDpInput", headers, {30, 110, 70, 70, 120, 70, 120});
    QTableWidget* output = gui::tableList("listDpOutput", headers, {30, 100, 120, 60, 90, 70, 120});
    gui::fillTable(input, table.input);
    gui::fillTable(output, table.output);
    gui::fitColumnsToCells(input);
    gui::fitColumnsToCells(output);
    showAllColumns(d, {input, output}, 2);
    lists->addWidget(gui::titled(gui::shown(net::kDpInputTitle), input));
    lists->addWidget(gui::titled(gui::shown(net::kDpOutputTitle), output));
    layout->addLayout(lists);
    // 确定 and 取消 both only close the table.
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(Texts::tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(Texts::tr("取消"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    layout->addWidget(buttons);
    d.resize(1300, 600);
    d.exec();
}

void showAddressMap(QWidget* parent, const std::array<std::vector<net::NetMapRow>, 4>& areas) {
    QDialog d(parent);
    d.setWindowTitle(Texts::tr("网关地址映射表"));
    auto* layout = new QVBoxLayout(&d);
    auto* grid = new QGridLayout;
    const char* names[] = {"listArea0", "listArea1", "listArea3", "listArea4"};
    QList<QTableWidget*> tables;
    for (int a = 0; a < 4; ++a) {
        QTableWidget* t = gui::tableList(names[a], gui::headerTexts(net::netMapColumnTitles(a)),
                                         {30, 110, 70, 70, 120, 70, 120}, QColor());
        gui::fillTable(t, areas[static_cast<std::size_t>(a)]);
        gui::fitColumnsToCells(t);
        tables << t;
        grid->addWidget(gui::titled(gui::shown(editing::mapListTitle(a)), t), a / 2, a % 2);
    }
    showAllColumns(d, tables, 2);
    layout->addLayout(grid);
    gui::addCloseRow(d, layout, nullptr);
    d.resize(1300, 700);
    d.exec();
}

} // namespace

void runNetAddressMapCommand(QWidget* parent, const net::CVantorNetDoc& doc) {
    if (net::showsDpTable(doc))
        showDpTable(parent, net::buildDpTable(doc));
    else
        showAddressMap(parent, net::buildNetAddressMap(doc));
}
