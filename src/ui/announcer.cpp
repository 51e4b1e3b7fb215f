#include "ui/announcer.h"

#include <QAccessible>

namespace torvane {

Announcer::Announcer(int spacingMs, QWidget* parent) : QWidget(parent), spacingMs_(spacingMs) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    // A widget of no size is taken as not showing, and its news is ignored.
    resize(1, 1);
    next_.setSingleShot(true);
    connect(&next_, &QTimer::timeout, this, &Announcer::announce);
}

void Announcer::say(const QString& text) {
    if (text.isEmpty()) return;
    waiting_ << text;
    if (waiting_.size() > kMaxTogether) waiting_.removeFirst();
    if (next_.isActive()) return;
    const qint64 since = sinceLast_.isValid() ? sinceLast_.elapsed() : spacingMs_;
    next_.start(int(std::max<qint64>(0, spacingMs_ - since)));
}

void Announcer::announce() {
    announced_ = waiting_.join(QStringLiteral("　"));
    waiting_.clear();
    sinceLast_.start();
    QAccessibleEvent named(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

}  // namespace torvane
