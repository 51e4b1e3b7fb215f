#include "ui/board_view.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>

#include "ui/board_geometry.h"
#include "ui/spoken_text.h"

namespace torvane {

namespace {

// Keys 1 to 9 as a numeric keypad lays them out: 7 8 9 on top.
constexpr std::array<PointIndex, kPointCount> kKeypadPoint = {6, 7, 8, 3, 4, 5, 0, 1, 2};

// The point one arrow key's step from `from`, the edge of the board holding.
std::optional<PointIndex> stepped(PointIndex from, int key) {
    int row = from / kRowLength, column = from % kRowLength;
    switch (key) {
    case Qt::Key_Left: column = std::max(column - 1, 0); break;
    case Qt::Key_Right: column = std::min(column + 1, kRowLength - 1); break;
    case Qt::Key_Up: row = std::max(row - 1, 0); break;
    case Qt::Key_Down: row = std::min(row + 1, kRowLength - 1); break;
    default: return std::nullopt;
    }
    return static_cast<PointIndex>(row * kRowLength + column);
}

std::optional<int> ownStoneOn(const BoardModel& board, PointIndex point) {
    for (int i = 0; i < kStoneCount; ++i) {
        if (board.ownStone(i) == point) return i;
    }
    return std::nullopt;
}

}  // namespace

BoardView::BoardView(QWidget* parent) : PictureBox(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(geometry::kBoardFrameWidth);
    setFocusPolicy(Qt::StrongFocus);
    setPicture(pictures_.get(bitmap::kBoard, devicePixelRatioF()));
    // Made after the board, so they lie above it, and the banner above them.
    for (int i = 0; i < kStoneCount; ++i) {
        for (auto* stones : {&own_, &rival_}) {
            (*stones)[i] = new StoneBox(parent);
            (*stones)[i]->resize(geometry::kStoneSize, geometry::kStoneSize);
        }
        // A click on a rival stone is a click on its point of the board.
        rival_[i]->setAttribute(Qt::WA_TransparentForMouseEvents);
        connect(own_[i], &PictureBox::pressed, this, [this, i](QPointF pos) { onPressed(i, pos); });
        connect(own_[i], &PictureBox::moved, this, [this, i](QPointF pos) { onMoved(i, pos); });
        connect(own_[i], &PictureBox::released, this, [this, i] { onReleased(i); });
    }
    connect(this, &PictureBox::pressed, this, [this](QPointF pos) { boardPress_ = pos; });
    connect(this, &PictureBox::released, this, &BoardView::onBoardReleased);
    marks_ = new BoardMarks(parent);
    banner_ = new PictureBox(parent);
    banner_->setGeometry(geometry::kBannerRect);
    banner_->hide();
    showColours(true);
}

void BoardView::setModel(const BoardModel& board) {
    model_ = &board;
    showBoard();
    showTurn();
}

void BoardView::showColours(bool ownGreen) {
    for (int i = 0; i < kStoneCount; ++i) {
        own_[i]->setPicture(pictures_.get(ownGreen ? bitmap::kGreen : bitmap::kBlue, devicePixelRatioF()));
        rival_[i]->setPicture(pictures_.get(ownGreen ? bitmap::kBlue : bitmap::kGreen, devicePixelRatioF()));
    }
}

void BoardView::showBoard() {
    const std::optional<int> inHand = model_->liftedStone();
    // A start or the end of a game has put the stone in hand back.
    if (dragged_ && inHand != dragged_) dragged_.reset();
    for (int i = 0; i < kStoneCount; ++i) {
        const geometry::PixelPos rival = geometry::pointPos(model_->rivalStone(i));
        rival_[i]->move(rival.x, rival.y);
        own_[i]->setHeldUp(inHand == i && dragged_ != i);
        if (dragged_ == i) continue;
        const geometry::PixelPos own = geometry::pointPos(model_->ownStone(i));
        own_[i]->move(QPoint(own.x, own.y) + (inHand == i ? geometry::kLiftedOffset : QPoint()));
    }
    markings_.lifted = inHand ? std::optional(model_->pickedPoint()) : std::nullopt;
    marks_->showMarkings(markings_);
    restack();
    tellCellsChanged();
}

void BoardView::showMarks(const std::optional<PointMove>& lastRivalMove,
                          const std::optional<std::array<PointIndex, kStoneCount>>& winningStones) {
    markings_.lastRivalMove = lastRivalMove;
    markings_.winningStones = winningStones;
    marks_->showMarkings(markings_);
}

void BoardView::restack() {
    marks_->raise();
    if (banner_->isVisible()) banner_->raise();
    if (const std::optional<int> inHand = model_ ? model_->liftedStone() : std::nullopt) own_[*inHand]->raise();
}

void BoardView::showTurn() {
    for (int i = 0; i < kStoneCount; ++i) {
        own_[i]->setEnabled(model_->getTurn() == Turn::Own);
        rival_[i]->setEnabled(false);
    }
}

void BoardView::showBanner(Banner banner, bool shown) {
    static const std::array<QString, 5> kPictures = {QString(), bitmap::kStart, bitmap::kWin, bitmap::kLose,
                                                     bitmap::kDraw};
    if (banner != Banner::None) banner_->setPicture(pictures_.get(kPictures[int(banner)], devicePixelRatioF()));
    if (shown == banner_->isVisible()) return;
    banner_->setVisible(shown);
    restack();
}

// The stone in hand goes back when chosen again, makes way for another own
// stone, and is otherwise put down on the point, rule or no rule: the window
// tells a bad point as it tells a bad drop.
void BoardView::choose(PointIndex point) {
    moveCursor(point);
    const Turn turn = model_->getTurn();
    if (turn != Turn::Own) {
        emit refused(turn == Turn::Rival ? Refusal::RivalsTurn : Refusal::NoGame);
        return;
    }
    const std::optional<int> inHand = model_->liftedStone();
    const std::optional<int> own = ownStoneOn(*model_, point);
    if (inHand && !own) {
        emit dropped(*inHand, point);
        return;
    }
    if (!own) {
        emit refused(Refusal::NotOwnStone);
        return;
    }
    if (inHand) emit putBack();
    if (own != inHand) emit lifted(*own);
    emit spoken(speech::cellText(*model_, point));
}

void BoardView::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (const std::optional<PointIndex> next = stepped(cursor_, key)) {
        moveCursor(*next);
    } else if (key >= Qt::Key_1 && key <= Qt::Key_9) {
        moveCursor(kKeypadPoint[key - Qt::Key_1]);
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
        choose(cursor_);
    } else if (key == Qt::Key_Escape && model_->liftedStone()) {
        const PointIndex picked = model_->pickedPoint();
        emit putBack();
        emit spoken(speech::cellText(*model_, picked));
    } else {
        PictureBox::keyPressEvent(event);
        return;
    }
    showCursor(true);
}

void BoardView::moveCursor(PointIndex point) {
    if (point == cursor_) return;
    cursor_ = point;
    showCursor(cursorShown_);
    tellFocus();
}

// Coming by the keyboard, focus shows where the keyboard is; by a click, not
// until a key is pressed.
void BoardView::focusInEvent(QFocusEvent* event) {
    PictureBox::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    showCursor(reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason);
    // After Qt has told that the board has the focus, that its cell has.
    QMetaObject::invokeMethod(this, &BoardView::tellFocus, Qt::QueuedConnection);
}

void BoardView::focusOutEvent(QFocusEvent* event) {
    PictureBox::focusOutEvent(event);
    showCursor(false);
}

void BoardView::showCursor(bool shown) {
    cursorShown_ = shown;
    markings_.cursor = shown ? std::optional(cursor_) : std::nullopt;
    marks_->showMarkings(markings_);
}

void BoardView::tellFocus() const {
    if (!hasFocus() || !QAccessible::isActive()) return;
    QAccessibleInterface* board = QAccessible::queryAccessibleInterface(const_cast<BoardView*>(this));
    if (!board || !board->child(cursor_)) return;
    QAccessibleEvent event(board->child(cursor_), QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
}

void BoardView::tellCellsChanged() {
    if (!QAccessible::isActive()) return;
    QAccessibleInterface* board = QAccessible::queryAccessibleInterface(this);
    for (PointIndex p = 0; p < kPointCount && board; ++p) {
        QString text = speech::cellText(*model_, p);
        if (text == told_[p]) continue;
        told_[p] = std::move(text);
        QAccessibleEvent event(board->child(p), QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

// Any button takes the stone; taking another than the one in hand puts that
// one back first.
void BoardView::onPressed(int stone, QPointF pos) {
    const std::optional<int> inHand = model_->liftedStone();
    wasInHand_ = inHand == stone;
    if (inHand && !wasInHand_) emit putBack();
    dragged_ = stone;
    own_[stone]->setHeldUp(false);
    grab_ = pos;
    dragStart_ = own_[stone]->pos();
    moveCursor(model_->ownStone(stone));
    if (!wasInHand_) emit lifted(stone);
    restack();
}

// The grabbed spot stays under the cursor, wherever it goes.
void BoardView::onMoved(int stone, QPointF pos) {
    if (dragged_ != stone) return;
    PictureBox* box = own_[stone];
    box->move(box->x() + qRound(pos.x() - grab_.x()), box->y() + qRound(pos.y() - grab_.y()));
}

// A stone let go about where it was taken was clicked: the first click
// keeps it in hand, the second puts it back.
void BoardView::onReleased(int stone) {
    if (dragged_ != stone) return;
    dragged_.reset();
    const QPoint box = own_[stone]->pos();
    if ((box - dragStart_).manhattanLength() >= QApplication::startDragDistance()) {
        emit dropped(stone, geometry::nearPoint({box.x(), box.y()}));
    } else if (wasInHand_) {
        emit putBack();
    } else {
        showBoard();
    }
}

// A click on a point of the board chooses it; a drag over the board does not.
void BoardView::onBoardReleased(QPointF pos) {
    if ((pos - boardPress_).manhattanLength() >= QApplication::startDragDistance()) return;
    if (const auto point = geometry::pointUnder(pos.toPoint() + this->pos())) choose(*point);
}

}  // namespace torvane
