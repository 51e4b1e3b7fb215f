#include "ui/accessibility.h"

#include <QAccessibleWidget>

#include "ui/announcer.h"
#include "ui/board_accessible.h"
#include "ui/game_window.h"

namespace torvane {

namespace {

// Drawn for the eye only: the stones, the marks and the banner.
bool isPicture(const QWidget* widget) {
    return (qobject_cast<const PictureBox*>(widget) && !qobject_cast<const BoardView*>(widget)) ||
           qobject_cast<const BoardMarks*>(widget);
}

class WindowAccessible : public QAccessibleWidget {
public:
    explicit WindowAccessible(QWidget* window) : QAccessibleWidget(window, QAccessible::Window) {}

    int childCount() const override { return int(children().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> shown = children();
        return index >= 0 && index < shown.size() ? QAccessible::queryAccessibleInterface(shown[index]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child ? int(children().indexOf(child->object())) : -1;
    }

private:
    QList<QWidget*> children() const {
        QList<QWidget*> shown;
        for (QObject* object : widget()->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (child && !child->isWindow() && !isPicture(child)) shown << child;
        }
        return shown;
    }
};

class AnnouncerAccessible : public QAccessibleWidget {
public:
    explicit AnnouncerAccessible(Announcer* announcer) : QAccessibleWidget(announcer, QAccessible::Notification) {}

    QString text(QAccessible::Text kind) const override {
        if (kind != QAccessible::Name) return QAccessibleWidget::text(kind);
        return static_cast<const Announcer*>(widget())->announced();
    }
};

QAccessibleInterface* createInterface(const QString& className, QObject* object) {
    if (className == QLatin1String("torvane::GameWindow")) return new WindowAccessible(static_cast<QWidget*>(object));
    if (className == QLatin1String("torvane::BoardView")) return new BoardAccessible(static_cast<BoardView*>(object));
    if (className == QLatin1String("torvane::Announcer"))
        return new AnnouncerAccessible(static_cast<Announcer*>(object));
    return nullptr;
}

}  // namespace

void installAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(createInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

}  // namespace torvane
