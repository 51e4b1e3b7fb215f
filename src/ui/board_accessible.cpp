#include "ui/board_accessible.h"

#include "ui/board_geometry.h"
#include "ui/spoken_text.h"

namespace torvane {

namespace {

class CellAccessible : public QAccessibleInterface,
                       public QAccessibleTableCellInterface,
                       public QAccessibleActionInterface {
public:
    CellAccessible(BoardView* board, PointIndex point) : board_(board), point_(point) {}

    bool isValid() const override { return board_; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return board_->window()->windowHandle(); }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(board_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? speech::cellText(board_->model(), point_) : QString();
    }

    // On the window's screen, where the stone on the point stands.
    QRect rect() const override {
        const QRect box = geometry::stoneRect(point_);
        return {board_->parentWidget()->mapToGlobal(box.topLeft()), box.size()};
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        state.focusable = state.selectable = true;
        state.focused = board_->hasFocus() && board_->cursor() == point_;
        state.selected = isSelected();
        state.invisible = !board_->isVisible();
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableCellInterface) return static_cast<QAccessibleTableCellInterface*>(this);
        if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    bool isSelected() const override {
        return board_->model().liftedStone() && board_->model().pickedPoint() == point_;
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return point_ % kRowLength; }
    int rowIndex() const override { return point_ / kRowLength; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
    void doAction(const QString& name) override {
        if (name == pressAction()) board_->choose(point_);
    }

private:
    QPointer<BoardView> board_;
    PointIndex point_;
};

}  // namespace

BoardAccessible::BoardAccessible(BoardView* board) : QAccessibleWidget(board, QAccessible::Table) {
    for (PointIndex p = 0; p < kPointCount; ++p) {
        cells_[p] = new CellAccessible(board, p);
        QAccessible::registerAccessibleInterface(cells_[p]);
    }
}

BoardAccessible::~BoardAccessible() {
    for (QAccessibleInterface* cell : cells_) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cell));
}

void* BoardAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface* BoardAccessible::child(int index) const { return isPoint(index) ? cells_[index] : nullptr; }

int BoardAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto found = std::find(cells_.begin(), cells_.end(), child);
    return found == cells_.end() ? -1 : int(found - cells_.begin());
}

QAccessibleInterface* BoardAccessible::childAt(int x, int y) const {
    const auto point = geometry::pointUnder(board()->parentWidget()->mapFromGlobal(QPoint(x, y)));
    return point ? cells_[*point] : nullptr;
}

QAccessibleInterface* BoardAccessible::focusChild() const {
    return board()->hasFocus() ? cells_[board()->cursor()] : nullptr;
}

QAccessibleInterface* BoardAccessible::cellAt(int row, int column) const {
    if (row < 0 || row >= kRowLength || column < 0 || column >= kRowLength) return nullptr;
    return cells_[row * kRowLength + column];
}

int BoardAccessible::columnCount() const { return kRowLength; }
int BoardAccessible::rowCount() const { return kRowLength; }

QList<QAccessibleInterface*> BoardAccessible::selectedCells() const {
    const BoardModel& model = board()->model();
    if (!model.liftedStone()) return {};
    return {cells_[model.pickedPoint()]};
}

}  // namespace torvane
