#pragma once
// The board as a screen reader sees it: a table of three rows of three
// cells, each named by its point and what stands there (「左上　相手の石」),
// the focus on the keyboard's cursor, the stone in hand selected. Pressing a
// cell chooses its point, as Enter does.

#include <QAccessibleWidget>
#include <QPointer>
#include <array>

#include "ui/board_view.h"

namespace torvane {

class BoardAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit BoardAccessible(BoardView* board);
    ~BoardAccessible() override;

    void* interface_cast(QAccessible::InterfaceType type) override;
    int childCount() const override { return kPointCount; }
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    QAccessibleInterface* cellAt(int row, int column) const override;
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int columnCount() const override;
    int rowCount() const override;
    int selectedCellCount() const override { return int(selectedCells().size()); }
    QList<QAccessibleInterface*> selectedCells() const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    BoardView* board() const { return static_cast<BoardView*>(widget()); }

    // Registered with Qt, which hands them out by id; deleted with the table.
    std::array<QAccessibleInterface*, kPointCount> cells_{};
};

}  // namespace torvane
