#include "ui/message_list.h"

#include <utility>

#include "match/shown_text.h"

namespace torvane {

MessageList::MessageList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
}

void MessageList::AddLine(const QString& line, bool select, bool growing) {
    if (count() >= kMaxLines) Forget(takeItem(0));
    auto* item = new QListWidgetItem(CutText(line, kMaxLineLength), this);
    if (growing) {
        growing_ = item;
        growingText_ = line.first(std::min(line.size(), kMaxLineLength + 1));
    }
    if (select) SelectLater(item);
}

void MessageList::SelectLater(QListWidgetItem* item) {
    toSelect_ = item;
    if (selectQueued_) return;
    selectQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            selectQueued_ = false;
            if (toSelect_) setCurrentItem(std::exchange(toSelect_, nullptr));
        },
        Qt::QueuedConnection);
}

void MessageList::Forget(QListWidgetItem* item) {
    if (item == growing_) growing_ = nullptr;
    if (item == toSelect_) toSelect_ = nullptr;
    delete item;
}

void MessageList::GrowLine(const QString& more) {
    if (!growing_ || growingText_.size() > kMaxLineLength) return;
    growingText_ += more.first(std::min(more.size(), kMaxLineLength + 1 - growingText_.size()));
    growing_->setText(CutText(growingText_, kMaxLineLength));
}

}  // namespace torvane
