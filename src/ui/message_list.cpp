#include "ui/message_list.h"

#include <utility>

#include "match/shown_text.h"

namespace torvane {

MessageList::MessageList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
}

void MessageList::addLine(const QString& line, bool select, bool growing) {
    if (count() >= kMaxLines) forget(takeItem(0));
    auto* item = new QListWidgetItem(cutText(line, kMaxLineLength), this);
    if (growing) {
        growing_ = item;
        growingText_ = line.first(std::min(line.size(), kMaxLineLength + 1));
    }
    if (select) selectLater(item);
}

void MessageList::selectLater(QListWidgetItem* item) {
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

void MessageList::forget(QListWidgetItem* item) {
    if (item == growing_) growing_ = nullptr;
    if (item == toSelect_) toSelect_ = nullptr;
    delete item;
}

void MessageList::growLine(const QString& more) {
    if (!growing_ || growingText_.size() > kMaxLineLength) return;
    growingText_ += more.first(std::min(more.size(), kMaxLineLength + 1 - growingText_.size()));
    growing_->setText(cutText(growingText_, kMaxLineLength));
}

}  // namespace torvane
